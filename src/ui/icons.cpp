#include "ui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace Icons {
namespace {
constexpr int kSize = 32;

// Draws a picture on a transparent 32 x 32 canvas (also at twice the size, for
// screens with a high pixel density).
QIcon paint(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(kSize * scale, kSize * scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        draw(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

QPen pen(const QColor& c, double w) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with ruled lines, the background of the list pictures.
void sheet(QPainter& p) {
    p.setPen(pen(QColor(90, 90, 90), 1.2));
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(QRectF(6, 4, 20, 24));
    p.setPen(pen(QColor(150, 150, 170), 1.2));
    for (int y = 10; y <= 24; y += 4) p.drawLine(QPointF(9, y), QPointF(23, y));
}
}  // namespace

QIcon sortir() {
    return paint([](QPainter& p) {
        p.setPen(pen(QColor(90, 60, 30), 1.5));
        p.setBrush(QColor(170, 120, 70));
        p.drawRect(QRectF(5, 4, 14, 24));
        // the door ajar
        QPainterPath leaf;
        leaf.moveTo(5, 4);
        leaf.lineTo(13, 7);
        leaf.lineTo(13, 31);
        leaf.lineTo(5, 28);
        leaf.closeSubpath();
        p.setBrush(QColor(205, 160, 100));
        p.drawPath(leaf);
        p.setBrush(QColor(60, 40, 20));
        p.drawEllipse(QPointF(11, 18), 1.2, 1.2);
        // the arrow out
        p.setPen(pen(QColor(20, 120, 40), 3));
        p.drawLine(QPointF(17, 16), QPointF(29, 16));
        p.drawLine(QPointF(24, 11), QPointF(29, 16));
        p.drawLine(QPointF(24, 21), QPointF(29, 16));
    });
}

QIcon ajouter() {
    return paint([](QPainter& p) {
        p.setPen(pen(QColor(20, 100, 30), 1.5));
        p.setBrush(QColor(60, 170, 70));
        QPainterPath plus;
        plus.addRoundedRect(QRectF(12, 4, 8, 24), 2, 2);
        plus.addRoundedRect(QRectF(4, 12, 24, 8), 2, 2);
        plus.setFillRule(Qt::WindingFill);
        p.drawPath(plus.simplified());
    });
}

QIcon supprimer() {
    return paint([](QPainter& p) {
        p.setPen(pen(QColor(140, 20, 20), 1.5));
        p.setBrush(QColor(215, 50, 50));
        p.drawRoundedRect(QRectF(4, 12, 24, 8), 2, 2);
    });
}

QIcon modifier() {
    return paint([](QPainter& p) {
        p.setPen(pen(QColor(60, 60, 60), 1.5));
        p.drawLine(QPointF(4, 29), QPointF(28, 29));
        p.save();
        p.translate(16, 16);
        p.rotate(45);
        p.setPen(pen(QColor(120, 80, 10), 1.2));
        p.setBrush(QColor(240, 190, 40));
        p.drawRect(QRectF(-3.5, -14, 7, 20));
        p.setBrush(QColor(230, 130, 140));
        p.drawRect(QRectF(-3.5, -16, 7, 3));
        QPainterPath tip;
        tip.moveTo(-3.5, 6);
        tip.lineTo(3.5, 6);
        tip.lineTo(0, 12);
        tip.closeSubpath();
        p.setBrush(QColor(235, 210, 170));
        p.drawPath(tip);
        p.restore();
    });
}

QIcon effacer() {
    return paint([](QPainter& p) {
        sheet(p);
        p.setPen(pen(QColor(200, 30, 30), 3.5));
        p.drawLine(QPointF(5, 5), QPointF(27, 27));
        p.drawLine(QPointF(27, 5), QPointF(5, 27));
    });
}

QIcon consulter() {
    return paint([](QPainter& p) {
        p.setPen(pen(QColor(70, 50, 30), 5));
        p.drawLine(QPointF(19, 19), QPointF(28, 28));
        p.setPen(pen(QColor(60, 60, 80), 2.5));
        p.setBrush(QColor(190, 225, 250));
        p.drawEllipse(QPointF(13, 13), 9, 9);
        p.setPen(pen(Qt::white, 2));
        p.drawArc(QRectF(8, 8, 10, 10), 100 * 16, 70 * 16);
    });
}

QIcon imprimer() {
    return paint([](QPainter& p) {
        p.setPen(pen(QColor(80, 80, 80), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
        p.setBrush(QColor(60, 200, 80));
        p.drawEllipse(QPointF(25, 15), 1.3, 1.3);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 19, 16, 10));
        p.setPen(pen(QColor(120, 120, 140), 1));
        p.drawLine(QPointF(10, 23), QPointF(22, 23));
        p.drawLine(QPointF(10, 26), QPointF(19, 26));
    });
}

QIcon renommer() {
    return paint([](QPainter& p) {
        p.setPen(pen(QColor(90, 90, 90), 1.2));
        p.setBrush(QColor(255, 255, 230));
        p.drawRect(QRectF(2, 8, 28, 16));
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(30, 30, 120));
        p.drawText(QRectF(4, 8, 20, 16), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Ab"));
        p.setPen(pen(QColor(200, 30, 30), 1.5));
        p.drawLine(QPointF(24, 10), QPointF(24, 22));
    });
}

}  // namespace Icons
