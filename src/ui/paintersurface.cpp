#include "ui/paintersurface.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

namespace {
QColor colourOf(quint32 rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u)); }
}   // namespace

PainterSurface::PainterSurface(QPainter& painter, const QColor& background)
    : m_painter(painter), m_background(background), m_font(painter.font()) {
    applyFont();
}

void PainterSurface::applyFont() { m_painter.setFont(m_font); }

void PainterSurface::setFontName(const QString& name) {
    m_font.setFamily(name);
    applyFont();
}

void PainterSurface::setFontSize(int points) {
    m_font.setPointSize(points);
    applyFont();
}

void PainterSurface::setFontStyle(int styleFlags) {
    m_font.setBold(styleFlags & Bold);
    m_font.setUnderline(styleFlags & Underline);
    applyFont();
}

void PainterSurface::setTextColour(quint32 rgb) { m_text = colourOf(rgb); }

int PainterSurface::textWidth(const QString& text) { return m_painter.fontMetrics().horizontalAdvance(text); }

void PainterSurface::textOut(int x, int y, const QString& text) {
    const QFontMetrics fm = m_painter.fontMetrics();
    m_painter.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), m_background);
    m_painter.setPen(m_text);
    m_painter.drawText(QPoint(x, y + fm.ascent()), text);
}

void PainterSurface::setPen(quint32 rgb, int width) {
    m_pen = colourOf(rgb);
    m_penWidth = width;
}

void PainterSurface::line(int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) return;
    m_painter.setPen(QPen(m_pen, m_penWidth, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(x1, y1, x2, y2);
}
