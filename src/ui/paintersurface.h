#pragma once
// The Surface of a QPainter: serves the diagnosis window (pixels) and the
// printer page (printer dots) alike. Font sizes in points follow the
// device's resolution, so 10 points on paper are 10 points whatever the
// printer. Text is drawn with its top-left corner at the point, over an
// opaque rectangle of the background colour; lines have flat ends, so a
// line is exactly as long as asked (and one of length 0 draws nothing).
#include <QColor>
#include <QFont>

#include "core/interfaces/surface.h"

class QPainter;

class PainterSurface : public Surface {
public:
    // Starts from the painter's current font.
    explicit PainterSurface(QPainter& painter, const QColor& background = Qt::white);

    void setFontName(const QString& name) override;
    void setFontSize(int points) override;
    void setFontStyle(int styleFlags) override;
    void setTextColour(quint32 rgb) override;
    int textWidth(const QString& text) override;
    void textOut(int x, int y, const QString& text) override;
    void setPen(quint32 rgb, int width) override;
    void line(int x1, int y1, int x2, int y2) override;

    const QFont& font() const { return m_font; }

private:
    void applyFont();

    QPainter& m_painter;
    QColor m_background;
    QFont m_font;
    QColor m_text = Qt::black;
    QColor m_pen = Qt::black;
    int m_penWidth = 1;
};
