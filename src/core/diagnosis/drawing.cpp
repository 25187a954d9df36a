#include "core/diagnosis/drawing.h"

#include <algorithm>
#include <cmath>

#include "core/schema/numformat.h"
#include "core/interfaces/surface.h"

DiagLayout DiagLayout::ecran() { return DiagLayout(); }

DiagLayout DiagLayout::papier(int s, int nbConseils) {
    DiagLayout l;
    l.paper = true;
    l.s = s;
    l.y0 = 10 * s;
    l.h = 16 * s;
    l.sectionX = 10 * s;
    l.leftLabelX = 40 * s;
    l.rightLabelX = 390 * s;
    l.intakeRight = 250 * s;
    l.needsRight = 560 * s;
    l.page2Base = nbConseils;
    return l;
}

int Echelle(int pageWidthDots) {
    const long long s = NumFormat::Nearest(pageWidthDots / 640.0);
    // A page narrower than 320 dots would give 0 and draw everything on one
    // spot; such a page is printed at the screen's size instead.
    return s < 1 ? 1 : static_cast<int>(s);
}

std::optional<double> quotient(double numerator, double denominator) {
    if (denominator == 0.0) return std::nullopt;
    const double q = numerator / denominator;
    if (!std::isfinite(q)) return std::nullopt;
    return q;
}

std::optional<long long> nearestOf(std::optional<double> value) {
    // Beyond this a double no longer converts safely to an integer.
    if (!value || !std::isfinite(*value) || std::fabs(*value) > 1e15) return std::nullopt;
    return NumFormat::Nearest(*value);
}

QString dash(int width) { return QStringLiteral("-").rightJustified(width, QLatin1Char(' ')); }

QString fixedOrDash(std::optional<double> value, int width, int decimals) {
    if (!value || !std::isfinite(*value)) return dash(width);
    return NumFormat::Fixed(*value, width, decimals);
}

QString intOrDash(std::optional<long long> value, int width) {
    return value ? NumFormat::Int(*value, width) : dash(width);
}

void EcritValeur(Surface& surface, int w, int d, const QString& suffix, int y, int x,
                 std::optional<double> value) {
    const QString number = fixedOrDash(value, w, d);
    surface.textOut(x - surface.textWidth(number), y, number + suffix);
}

void EnTetePage(Surface& surface, const DiagLayout& layout, const QString& groupName, int page) {
    surface.setFontStyle(Surface::Bold | Surface::Underline);
    surface.setTextColour(SurfaceColour::Red);
    surface.textOut(layout.x(220), layout.y0, groupName.toUpper());
    surface.setTextColour(SurfaceColour::Black);
    surface.setFontSize(10);
    if (page == 1) {
        surface.textOut(layout.sectionX, layout.y0, QStringLiteral("ÉNERGIE :"));
        surface.textOut(layout.sectionX, layout.rowY(2), QStringLiteral("RÉPARTITION :"));
        surface.textOut(layout.x(390), layout.y0, QStringLiteral("CONSEILS :"));
    }
}

void SousTitre(Surface& surface, const DiagLayout& layout, const QString& subtitle, int page) {
    if (subtitle.isEmpty()) return;
    surface.setFontStyle(Surface::Regular);
    surface.setTextColour(SurfaceColour::Black);
    const int x = std::min(layout.x(220), layout.x(600) - surface.textWidth(subtitle));
    surface.textOut(std::max(layout.x(10), x), layout.rowY(page == 1 ? 2 : 1), subtitle);
}

void EnTeteBilan(Surface& surface, const DiagLayout& layout, const DiagnosisData& data, int page) {
    EnTetePage(surface, layout, data.groupName, page);
    SousTitre(surface, layout, data.subtitle, page);
    if (data.jours.isEmpty()) return;
    surface.setFontStyle(Surface::Bold);
    surface.setTextColour(SurfaceColour::Red);
    surface.textOut(layout.x(220), layout.rowY(1), titreMoyenne(static_cast<int>(data.jours.size())));
    surface.setTextColour(SurfaceColour::Black);
    surface.setFontStyle(Surface::Bold | Surface::Underline);
}

QString titreMoyenne(int jours) { return QStringLiteral("Moyenne de %1 jours").arg(jours); }

QString fitToWidth(Surface& surface, QString text, int width) {
    if (surface.textWidth(text) <= width) return text;
    while (text.size() > 1 && surface.textWidth(text + QStringLiteral("…")) > width) text.chop(1);
    return text + QStringLiteral("…");
}

void EffacePage(Surface& surface) {
    QString blank = QStringLiteral("  ");
    // The width grows with the text; a surface that measures nothing (0) is
    // still given a bounded text.
    while (surface.textWidth(blank) < 630 && blank.size() < 2000) blank += QStringLiteral("  ");
    for (int y = 10; y < 460; y += 17) surface.textOut(5, y, blank);
}
