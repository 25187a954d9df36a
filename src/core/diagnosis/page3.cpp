#include "core/diagnosis/page3.h"

#include <algorithm>

#include "core/schema/numformat.h"
#include "core/diagnosis/page2.h"
#include "core/interfaces/surface.h"

namespace {
// Screen positions of the table: the day names from x 10 to 85, the energy
// in kcal to 118, then 21 rates 23 pixels apart, the last ending at 601.
constexpr int kFinNoms = 85;
constexpr int kBordKcal = 118;
constexpr int kPas = 23;
constexpr int kTaillePetite = 8;              // points: 22 columns in the width of the page
constexpr int kBasEcran = 455;                // the page area is blanked down to y 460
constexpr int kRangeesDiagrammePapier = 14;   // rows the charts take on paper

quint32 couleurDe(int ligne) { return ligne == 0 ? SurfaceColour::Red : SurfaceColour::Blue; }

QString sansExtension(const QString& name) {
    return name.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive) ? name.left(name.size() - 4) : name;
}

QString libelleSansTiret(const LignePage2& row) {
    return row.label.startsWith(QLatin1String("- ")) ? row.label.mid(2) : row.label;
}

// The value of a column for one day's totals: kcal, or a rate in %.
std::optional<double> valeurColonne(int colonne, const DailyTotals& totals, const GroupNeeds& needs) {
    if (colonne == 0) return totals[DailyTotals::CALORIES];
    return tauxDuJour(LignesPage2()[lignePage2DeColonne(colonne)], totals, needs);
}

// One row of the table: a label and every column's value, right-aligned.
void rangee(Surface& surface, const DiagLayout& l, int y, const QString& label, const DailyTotals& totals,
            const GroupNeeds& needs) {
    surface.setTextColour(SurfaceColour::Black);
    surface.textOut(l.sectionX, y, fitToWidth(surface, label, l.x(kFinNoms - 12)));
    for (int c = 0; c < nbColonnesPage3(); ++c) {
        surface.setTextColour(couleurDe(lignePage2DeColonne(c)));
        const QString n = intOrDash(nearestOf(valeurColonne(c, totals, needs)), 1);
        surface.textOut(bordColonnePage3(l, c) - l.x(2) - surface.textWidth(n), y, n);
    }
}

// One chart: a bar per day from the base line up, scaled so that the
// highest bar or the reference stands a little below the top, the
// reference as a dashed black line across, the days' numbers under the bars.
struct Diagramme {
    int left, right, top, bottom;
    QString title;
    quint32 colour;
    QVector<std::optional<double>> values;
    std::optional<double> reference;
};

void dessineDiagramme(Surface& surface, const DiagLayout& l, const Diagramme& d) {
    surface.setFontStyle(Surface::Regular);
    surface.setTextColour(d.colour);
    surface.textOut(d.left, d.top, fitToWidth(surface, d.title, d.right - d.left));
    const int plotTop = d.top + l.h + l.x(2);
    const int base = d.bottom - l.h;
    const int height = base - plotTop;
    const int n = static_cast<int>(d.values.size());
    if (height <= 0 || n == 0) return;

    double highest = d.reference.value_or(0.0);
    for (const auto& v : d.values)
        if (v) highest = std::max(highest, *v);
    highest *= 1.1;
    const int slot = (d.right - d.left) / n;
    const int barWidth = std::max(l.x(2), slot * 3 / 5);
    auto hauteur = [&](double v) {
        if (highest <= 0.0) return 0;
        return static_cast<int>(NumFormat::Nearest(std::clamp(v, 0.0, highest) * height / highest));
    };
    surface.setPen(d.colour, barWidth);
    for (int i = 0; i < n; ++i) {
        if (!d.values[i]) continue;
        const int x = d.left + slot * i + slot / 2;
        surface.line(x, base, x, base - hauteur(*d.values[i]));
    }
    surface.setPen(SurfaceColour::Black, l.x(1));
    surface.line(d.left, base, d.right, base);
    if (d.reference && *d.reference > 0.0) {
        const int y = base - hauteur(*d.reference);
        for (int x = d.left; x < d.right; x += l.x(8)) surface.line(x, y, std::min(x + l.x(5), d.right), y);
    }
    surface.setTextColour(SurfaceColour::Black);
    for (int i = 0; i < n; ++i) {
        const QString num = QString::number(i + 1);
        surface.textOut(d.left + slot * i + slot / 2 - surface.textWidth(num) / 2, base + l.x(2), num);
    }
}

void diagrammes(Surface& surface, const DiagLayout& l, const DiagnosisData& data, int nutriment, int top,
                int bottom) {
    const LignePage2& energie = LignesPage2()[0];
    const LignePage2& choisi =
        LignesPage2()[std::clamp(nutriment, 0, static_cast<int>(LignesPage2().size()) - 1)];
    Diagramme e{l.sectionX,
                l.x(295),
                top,
                bottom,
                QStringLiteral("Énergie par jour (kcal) ; tirets : besoin, %1 kcal")
                    .arg(fixedOrDash(data.needs[energie.need], 1, 0)),
                SurfaceColour::Red,
                {},
                data.needs[energie.need]};
    Diagramme t{l.x(315),
                l.x(600),
                top,
                bottom,
                QStringLiteral("%1 par jour (% du besoin) ; tirets : 100 %").arg(libelleSansTiret(choisi)),
                couleurDe(nutriment),
                {},
                100.0};
    for (const SavedDay& d : data.jours) {
        e.values << d.totals[energie.intake];
        t.values << tauxDuJour(choisi, d.totals, data.needs);
    }
    if (data.needs[choisi.need] == 0.0) t.reference.reset();
    dessineDiagramme(surface, l, e);
    dessineDiagramme(surface, l, t);
}
}   // namespace

int nbColonnesPage3() { return static_cast<int>(LignesPage2().size()) + 1; }

int lignePage2DeColonne(int colonne) { return colonne <= 1 ? 0 : colonne - 1; }

int colonneDeLignePage2(int ligne) { return ligne <= 0 ? 0 : ligne + 1; }

int bordColonnePage3(const DiagLayout& l, int colonne) {
    if (colonne < 0) return l.x(kFinNoms);
    return l.x(kBordKcal + kPas * colonne);
}

int lignePage2EnX(const DiagLayout& l, int x) {
    for (int c = 0; c < nbColonnesPage3(); ++c)
        if (x > bordColonnePage3(l, c - 1) && x <= bordColonnePage3(l, c)) return lignePage2DeColonne(c);
    return -1;
}

int rangeeJourPage3(int jour) { return 4 + jour; }
int rangeeMoyennePage3(int jours) { return 4 + jours; }
int rangeeFinDiagrammesPapier(int jours) { return rangeeMoyennePage3(jours) + 2 + kRangeesDiagrammePapier; }

std::optional<double> tauxDuJour(const LignePage2& row, const DailyTotals& totals, const GroupNeeds& needs) {
    return quotient(totals[row.intake] * 100.0, needs[row.need]);
}

int nutrimentParDefaut(const DiagnosisData& data) {
    int best = 1;
    std::optional<double> lowest;
    for (int i = 1; i < LignesPage2().size(); ++i) {
        const std::optional<double> rate = tauxDuJour(LignesPage2()[i], data.totals, data.needs);
        if (rate && (!lowest || *rate < *lowest)) {
            lowest = rate;
            best = i;
        }
    }
    return best;
}

void dessinePage3(Surface& surface, const DiagLayout& l, const DiagnosisData& data, int nutriment, int bottom) {
    EnTeteBilan(surface, l, data, 3);
    surface.textOut(l.sectionX, l.y0, QStringLiteral("JOUR PAR JOUR :"));
    surface.setFontSize(kTaillePetite);
    surface.setFontStyle(Surface::Regular);
    const QVector<LignePage2>& rows = LignesPage2();
    const int nbJours = static_cast<int>(data.jours.size());

    // Headings: the three families over their columns, then each column's
    // short name, with the mark of a value some day lacks; the chosen
    // nutrient's in bold.
    surface.setTextColour(SurfaceColour::Black);
    const int familles[] = {0, 2, 14};
    const QString titres[] = {QStringLiteral("Énergie"), QStringLiteral("Minéraux, % du besoin"),
                              QStringLiteral("Vitamines, % du besoin")};
    for (int f = 0; f < 3; ++f)
        surface.textOut(bordColonnePage3(l, familles[f] - 1) + l.x(4), l.rowY(2), titres[f]);
    for (int c = 0; c < nbColonnesPage3(); ++c) {
        const int ligne = lignePage2DeColonne(c);
        QString symbol = c == 1 ? QStringLiteral("%") : rows[ligne].symbol;
        if (c > 0 && data.nonMesures.marque(rows[ligne].intake)) symbol += QLatin1Char('*');
        const bool choisi = c > 0 && ligne == nutriment;
        surface.setFontStyle(choisi ? Surface::Bold | Surface::Underline : Surface::Regular);
        surface.setTextColour(couleurDe(ligne));
        surface.textOut(bordColonnePage3(l, c) - l.x(2) - surface.textWidth(symbol), l.rowY(3), symbol);
    }

    surface.setFontStyle(Surface::Regular);
    for (int j = 0; j < nbJours; ++j)
        rangee(surface, l, l.rowY(rangeeJourPage3(j)),
               QStringLiteral("%1 %2").arg(j + 1).arg(sansExtension(data.jours[j].name)), data.jours[j].totals,
               data.needs);
    surface.setFontStyle(Surface::Bold);
    rangee(surface, l, l.rowY(rangeeMoyennePage3(nbJours)), QStringLiteral("Moyenne"), data.totals, data.needs);
    surface.setFontStyle(Surface::Regular);
    if (data.nonMesures.aliments > 0) {
        surface.setTextColour(SurfaceColour::Black);
        surface.textOut(l.sectionX, l.rowY(rangeeMoyennePage3(nbJours) + 1),
                        texteNonMesures(data.nonMesures.aliments));
    }
    diagrammes(surface, l, data, nutriment, l.rowY(rangeeMoyennePage3(nbJours) + 2), bottom);
    surface.setFontSize(10);
}

void dessinePage3Ecran(Surface& surface, const DiagnosisData& data, int nutriment) {
    dessinePage3(surface, DiagLayout::ecran(), data, nutriment, kBasEcran);
}
