#include "app/imageaccueil.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace {

void nappe(QPainter& p, const QRectF& r) {
    p.fillRect(r, QColor(255, 250, 240));
    const double step = 14;
    QColor band(200, 40, 40, 90);
    for (double x = r.left(); x < r.right(); x += 2 * step) p.fillRect(QRectF(x, r.top(), step, r.height()), band);
    for (double y = r.top(); y < r.bottom(); y += 2 * step) p.fillRect(QRectF(r.left(), y, r.width(), step), band);
}

void feuille(QPainter& p, QPointF c, double w, double h, double angle, QColor color) {
    p.save();
    p.translate(c);
    p.rotate(angle);
    QPainterPath path;
    path.moveTo(-w / 2, 0);
    path.quadTo(0, -h, w / 2, 0);
    path.quadTo(0, h, -w / 2, 0);
    p.setPen(QPen(color.darker(140), 1));
    p.setBrush(color);
    p.drawPath(path);
    p.setPen(QPen(color.lighter(150), 1));
    p.drawLine(QPointF(-w / 2 + 3, 0), QPointF(w / 2 - 3, 0));
    p.restore();
}

void carotte(QPainter& p, QPointF c, double angle) {
    p.save();
    p.translate(c);
    p.rotate(angle);
    QPainterPath path;
    path.moveTo(-22, -5);
    path.lineTo(20, -1.5);
    path.quadTo(24, 0, 20, 1.5);
    path.lineTo(-22, 5);
    path.closeSubpath();
    p.setPen(QPen(QColor(190, 90, 10), 1));
    p.setBrush(QColor(245, 130, 30));
    p.drawPath(path);
    p.setPen(QPen(QColor(200, 100, 20), 1));
    for (int i = -14; i < 16; i += 8) p.drawLine(QPointF(i, -3), QPointF(i + 2, -1));
    feuille(p, QPointF(-26, -3), 12, 5, -30, QColor(60, 150, 50));
    feuille(p, QPointF(-26, 3), 12, 5, 30, QColor(60, 150, 50));
    p.restore();
}

void tomate(QPainter& p, QPointF c, double r) {
    p.setPen(QPen(QColor(150, 20, 20), 1));
    p.setBrush(QColor(220, 40, 35));
    p.drawEllipse(c, r, r * 0.8);
    p.setBrush(QColor(240, 95, 80));
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, r * 0.75, r * 0.58);
    p.setBrush(QColor(250, 220, 150));
    for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3;
        p.drawEllipse(QPointF(c.x() + std::cos(a) * r * 0.42, c.y() + std::sin(a) * r * 0.32), 1.8, 1.2);
    }
}

void pomme(QPainter& p, QPointF c, double r) {
    QRadialGradient g(c + QPointF(-r * 0.35, -r * 0.35), r * 1.3);
    g.setColorAt(0, QColor(255, 120, 110));
    g.setColorAt(0.5, QColor(210, 30, 30));
    g.setColorAt(1, QColor(130, 10, 15));
    QPainterPath path;
    path.moveTo(c.x(), c.y() - r * 0.75);
    path.cubicTo(c.x() + r * 0.9, c.y() - r * 1.25, c.x() + r * 1.45, c.y() + r * 0.2, c.x() + r * 0.3, c.y() + r);
    path.quadTo(c.x(), c.y() + r * 0.85, c.x() - r * 0.3, c.y() + r);
    path.cubicTo(c.x() - r * 1.45, c.y() + r * 0.2, c.x() - r * 0.9, c.y() - r * 1.25, c.x(), c.y() - r * 0.75);
    p.setPen(QPen(QColor(110, 10, 10), 1));
    p.setBrush(g);
    p.drawPath(path);
    p.setPen(QPen(QColor(100, 60, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x(), c.y() - r * 0.7), QPointF(c.x() + 3, c.y() - r * 1.2));
    feuille(p, QPointF(c.x() + 11, c.y() - r * 1.1), 16, 7, -25, QColor(70, 160, 60));
}

void pain(QPainter& p, QPointF c) {
    QPainterPath path;
    path.addRoundedRect(QRectF(c.x() - 26, c.y() - 12, 52, 24), 12, 12);
    QLinearGradient g(c.x(), c.y() - 12, c.x(), c.y() + 12);
    g.setColorAt(0, QColor(225, 165, 80));
    g.setColorAt(1, QColor(170, 105, 40));
    p.setPen(QPen(QColor(130, 80, 30), 1));
    p.setBrush(g);
    p.drawPath(path);
    p.setPen(QPen(QColor(245, 215, 160), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = -14; i <= 14; i += 10) p.drawLine(QPointF(c.x() + i - 4, c.y() + 5), QPointF(c.x() + i + 4, c.y() - 5));
}

void verre(QPainter& p, const QRectF& r) {
    QPainterPath glass;
    glass.moveTo(r.left(), r.top());
    glass.lineTo(r.right(), r.top());
    glass.lineTo(r.right() - 4, r.bottom());
    glass.lineTo(r.left() + 4, r.bottom());
    glass.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 255));
    QPainterPath milk;
    const double top = r.top() + r.height() * 0.18;
    milk.moveTo(r.left() + 0.7, top);
    milk.lineTo(r.right() - 0.7, top);
    milk.lineTo(r.right() - 4, r.bottom());
    milk.lineTo(r.left() + 4, r.bottom());
    milk.closeSubpath();
    p.drawPath(milk);
    p.setPen(QPen(QColor(120, 150, 190), 1.5));
    p.setBrush(QColor(200, 220, 255, 60));
    p.drawPath(glass);
    p.setPen(QPen(QColor(255, 255, 255, 200), 2));
    p.drawLine(QPointF(r.left() + 6, r.top() + 8), QPointF(r.left() + 8, r.bottom() - 8));
}

void couverts(QPainter& p, double x, double y) {
    p.setPen(QPen(QColor(150, 150, 160), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, y), QPointF(x, y + 52));
    p.setPen(QPen(QColor(150, 150, 160), 1.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = -4; i <= 4; i += 4) p.drawLine(QPointF(x + i, y - 14), QPointF(x + i, y));
    p.drawLine(QPointF(x - 4, y), QPointF(x + 4, y));
}

void couteau(QPainter& p, double x, double y) {
    p.setPen(QPen(QColor(150, 150, 160), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, y + 18), QPointF(x, y + 56));
    QPainterPath blade;
    blade.moveTo(x - 2, y + 18);
    blade.lineTo(x - 2, y - 12);
    blade.quadTo(x + 4, y - 6, x + 3, y + 18);
    blade.closeSubpath();
    p.setPen(QPen(QColor(130, 130, 140), 1));
    p.setBrush(QColor(215, 215, 225));
    p.drawPath(blade);
}

}  // namespace

QPixmap ImageAccueil() {
    const QSize size(295, 223);
    QPixmap pix(size);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 120);
    sky.setColorAt(0, QColor(205, 230, 250));
    sky.setColorAt(1, QColor(255, 248, 230));
    p.fillRect(QRect(0, 0, size.width(), 120), sky);
    nappe(p, QRectF(0, 110, size.width(), size.height() - 110));
    p.setPen(QPen(QColor(150, 110, 80), 2));
    p.drawLine(0, 110, size.width(), 110);

    // The plate.
    const QPointF plate(150, 160);
    p.setPen(QPen(QColor(170, 170, 180), 1.5));
    p.setBrush(QColor(250, 250, 252));
    p.drawEllipse(plate, 92, 50);
    p.setPen(QPen(QColor(200, 200, 210), 1));
    p.setBrush(QColor(240, 242, 246));
    p.drawEllipse(plate, 70, 36);

    feuille(p, QPointF(118, 150), 48, 16, -20, QColor(90, 175, 70));
    feuille(p, QPointF(138, 140), 44, 15, 15, QColor(120, 195, 80));
    feuille(p, QPointF(112, 168), 40, 14, 10, QColor(70, 150, 60));
    tomate(p, QPointF(165, 168), 14);
    tomate(p, QPointF(190, 152), 12);
    carotte(p, QPointF(172, 138), -12);
    carotte(p, QPointF(150, 178), 8);

    couverts(p, 38, 150);
    couteau(p, 262, 150);
    verre(p, QRectF(22, 48, 34, 70));
    pain(p, QPointF(96, 98));
    pomme(p, QPointF(232, 92), 22);
    pomme(p, QPointF(196, 100), 15);
    p.end();
    return pix;
}
