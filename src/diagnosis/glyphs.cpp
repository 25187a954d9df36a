#include "diagnosis/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {
constexpr int Size = 16;

// Draws the same picture twice: in its colours, and in greys for the
// disabled state (every colour replaced by a mid grey, with a light relief
// as disabled glyphs have).
QIcon twoStates(const std::function<void(QPainter&, bool)>& draw) {
    QIcon icon;
    for (bool enabled : {true, false}) {
        QPixmap pm(Size, Size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, false);
        draw(p, enabled);
        p.end();
        icon.addPixmap(pm, enabled ? QIcon::Normal : QIcon::Disabled, QIcon::Off);
        icon.addPixmap(pm, enabled ? QIcon::Normal : QIcon::Disabled, QIcon::On);
    }
    return icon;
}

QColor tone(bool enabled, const QColor& colour) { return enabled ? colour : QColor(128, 128, 128); }
}  // namespace

namespace Glyphes {

QIcon page(int number) {
    return twoStates([number](QPainter& p, bool enabled) {
        // A sheet with a folded corner and a figure.
        QPainterPath sheet;
        sheet.moveTo(2, 0.5);
        sheet.lineTo(10, 0.5);
        sheet.lineTo(13.5, 4);
        sheet.lineTo(13.5, 15.5);
        sheet.lineTo(2, 15.5);
        sheet.closeSubpath();
        p.setPen(tone(enabled, Qt::black));
        p.setBrush(enabled ? QColor(Qt::white) : QColor(224, 224, 224));
        p.drawPath(sheet);
        p.drawLine(10, 1, 10, 4);
        p.drawLine(10, 4, 13, 4);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.setPen(tone(enabled, QColor(0, 0, 160)));
        p.drawText(QRect(2, 4, 12, 11), Qt::AlignCenter, QString::number(number));
    });
}

QIcon imprimer() {
    return twoStates([](QPainter& p, bool enabled) {
        p.setPen(tone(enabled, Qt::black));
        // Sheet going in at the top.
        p.setBrush(enabled ? QColor(Qt::white) : QColor(224, 224, 224));
        p.drawRect(4, 1, 7, 5);
        // Body of the printer.
        p.setBrush(tone(enabled, QColor(192, 192, 192)));
        p.drawRect(1, 6, 13, 6);
        // Sheet coming out, with a line of print.
        p.setBrush(enabled ? QColor(Qt::white) : QColor(224, 224, 224));
        p.drawRect(3, 10, 9, 4);
        p.setPen(tone(enabled, QColor(0, 0, 160)));
        p.drawLine(5, 12, 10, 12);
        // A green light.
        p.setPen(Qt::NoPen);
        p.setBrush(tone(enabled, QColor(0, 170, 0)));
        p.drawRect(11, 7, 2, 2);
    });
}

QIcon sortir() {
    return twoStates([](QPainter& p, bool enabled) {
        // An open door.
        p.setPen(tone(enabled, Qt::black));
        p.setBrush(tone(enabled, QColor(160, 96, 32)));
        p.drawRect(1, 1, 7, 14);
        p.setBrush(tone(enabled, QColor(255, 220, 0)));
        p.drawRect(6, 8, 1, 1);
        // An arrow going out.
        p.setPen(QPen(tone(enabled, QColor(200, 0, 0)), 2));
        p.drawLine(9, 8, 14, 8);
        p.drawLine(12, 5, 15, 8);
        p.drawLine(12, 11, 15, 8);
    });
}

}  // namespace Glyphes
