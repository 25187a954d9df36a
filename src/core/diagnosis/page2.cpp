#include "core/diagnosis/page2.h"

#include <algorithm>

#include "core/schema/numformat.h"
#include "core/interfaces/surface.h"
#include "core/schema/schema.h"

namespace {
using T = DailyTotals;
using N = GroupNeeds;

const QString kSuffixeTaux = QStringLiteral(" %");

quint32 colourOf(int index) { return index == 0 ? SurfaceColour::Red : SurfaceColour::Blue; }
int rowOf(const DiagLayout& l, int index) { return l.rowY(l.page2Base + 23 + index); }

// Intakes or needs of every row, each in its colour, right-aligned at x.
template <class Value>
void colonne(Surface& surface, const DiagLayout& l, int rightEdge, Value value) {
    const QVector<LignePage2>& rows = LignesPage2();
    for (int i = 0; i < rows.size(); ++i) {
        surface.setTextColour(colourOf(i));
        EcritValeur(surface, 7, 2, rows[i].suffix, rowOf(l, i), rightEdge, value(rows[i]));
    }
}
}   // namespace

int lignePage2En(const DiagLayout& layout, int y) {
    if (layout.h <= 0 || y < layout.y0) return -1;   // the first data row is never above y0
    const int row = (y - layout.y0) / layout.h - layout.page2Base - 23;
    return row >= 0 && row < LignesPage2().size() ? row : -1;
}

QString champPage2(const LignePage2& row) { return choiceNumericFields().value(row.intake); }

const QVector<LignePage2>& LignesPage2() {
    static const QVector<LignePage2> rows = {
        {QStringLiteral("- Énergie"), T::CALORIES, N::Energie, QStringLiteral(" kcal"), 1.0,
         QStringLiteral("kcal")},
        {QStringLiteral("- Calcium"), T::CA, N::Calcium, QStringLiteral(" mg"), 1.0, QStringLiteral("Ca")},
        {QStringLiteral("- Chlore"), T::CL, N::Chlore, QStringLiteral(" mg"), 1.0, QStringLiteral("Cl")},
        {QStringLiteral("- Cuivre"), T::CU, N::Cuivre, QStringLiteral(" mg"), 1.0, QStringLiteral("Cu")},
        {QStringLiteral("- Fer"), T::FE, N::Fer, QStringLiteral(" mg"), 1.0, QStringLiteral("Fe")},
        {QStringLiteral("- Iode"), T::I, N::Iode, QStringLiteral(" mg"), 1.0, QStringLiteral("I")},
        {QStringLiteral("- Magnésium"), T::MG, N::Magnesium, QStringLiteral(" mg"), 1.0, QStringLiteral("Mg")},
        {QStringLiteral("- Manganèse"), T::MN, N::Manganese, QStringLiteral(" mg"), 1.0, QStringLiteral("Mn")},
        {QStringLiteral("- Phosphore"), T::PH, N::Phosphore, QStringLiteral(" mg"), 1.0, QStringLiteral("P")},
        {QStringLiteral("- Potassium"), T::K, N::Potassium, QStringLiteral(" mg"), 1.0, QStringLiteral("K")},
        {QStringLiteral("- Sodium"), T::NA, N::Sodium, QStringLiteral(" mg"), 1.0, QStringLiteral("Na")},
        {QStringLiteral("- Soufre"), T::S, N::Soufre, QStringLiteral(" mg"), 1.0, QStringLiteral("S")},
        {QStringLiteral("- Zinc"), T::ZN, N::Zinc, QStringLiteral(" mg"), 1.0, QStringLiteral("Zn")},
        {QStringLiteral("- Vit. A"), T::VIT_A, N::VitA, QStringLiteral(" mg"), 1.0, QStringLiteral("A")},
        {QStringLiteral("- Vit. B1"), T::VIT_B1, N::VitB1, QStringLiteral(" mg"), 1.0, QStringLiteral("B1")},
        {QStringLiteral("- Vit. B2"), T::VIT_B2, N::VitB2, QStringLiteral(" mg"), 1.0, QStringLiteral("B2")},
        {QStringLiteral("- Vit. B6"), T::VIT_B6, N::VitB6, QStringLiteral(" mg"), 1.0, QStringLiteral("B6")},
        {QStringLiteral("- Vit. B9"), T::VIT_B9, N::VitB9, QStringLiteral(" mg"), 1.0, QStringLiteral("B9")},
        {QStringLiteral("- Vit. C"), T::VIT_C, N::VitC, QStringLiteral(" mg"), 1.0, QStringLiteral("C")},
        {QStringLiteral("- Vit. D"), T::VIT_D, N::VitD, QStringLiteral(" µg"), 1000.0, QStringLiteral("D")},
        {QStringLiteral("- Vit. PP"), T::VIT_PP, N::VitPP, QStringLiteral(" mg"), 1.0, QStringLiteral("PP")},
    };
    return rows;
}

std::optional<double> tauxDe(const LignePage2& row, const DiagnosisData& data) {
    return quotient(data.totals[row.intake] * 100.0, data.needs[row.need]);
}

void LibellesPage2(Surface& surface, const DiagLayout& l) {
    const int d = l.page2Base;
    surface.setTextColour(SurfaceColour::Black);
    surface.setFontStyle(Surface::Bold | Surface::Underline);
    surface.textOut(l.sectionX, l.rowY(d + 21), QStringLiteral("MINÉRAUX-VITAMINES :"));
    surface.textOut(l.x(250), l.rowY(d + 21), QStringLiteral("CONSEILS :"));
    surface.textOut(l.x(370), l.rowY(d + 21), QStringLiteral("TAUX :"));
    surface.setFontStyle(Surface::Regular);
    const QVector<LignePage2>& rows = LignesPage2();
    surface.setTextColour(SurfaceColour::Red);
    surface.textOut(l.leftLabelX, rowOf(l, 0), rows[0].label);
    surface.setTextColour(SurfaceColour::Black);
    for (int i = 1; i < rows.size(); ++i) surface.textOut(l.leftLabelX, rowOf(l, i), rows[i].label);
}

void ApportsPage2(Surface& surface, const DiagLayout& l, const DiagnosisData& data) {
    colonne(surface, l, l.x(180), [&](const LignePage2& r) { return data.totals[r.intake] * r.factor; });
}

void BesoinsPage2(Surface& surface, const DiagLayout& l, const DiagnosisData& data) {
    colonne(surface, l, l.x(300), [&](const LignePage2& r) { return data.needs[r.need] * r.factor; });
}

void TauxPage2(Surface& surface, const DiagLayout& l, const DiagnosisData& data) {
    const QVector<LignePage2>& rows = LignesPage2();
    for (int i = 0; i < rows.size(); ++i) {
        surface.setTextColour(colourOf(i));
        EcritValeur(surface, 7, 2, kSuffixeTaux, rowOf(l, i), l.x(400), tauxDe(rows[i], data));
    }
    NotesNonMesures(surface, l, data);
}

void NotesNonMesures(Surface& surface, const DiagLayout& l, const DiagnosisData& data) {
    const NonMesures& nm = data.nonMesures;
    const QVector<LignePage2>& rows = LignesPage2();
    // The rate's number ends at x 400 and its " %" runs on past it: the mark
    // starts where that text ends, so that its opaque background covers
    // nothing of the rate, on screen as on paper.
    const int markX = l.x(400) + surface.textWidth(kSuffixeTaux);
    bool any = false;
    for (int i = 0; i < rows.size(); ++i) {
        if (!nm.marque(rows[i].intake) || !tauxDe(rows[i], data)) continue;
        surface.setTextColour(colourOf(i));
        surface.textOut(markX, rowOf(l, i), QStringLiteral("*"));
        any = true;
    }
    if (!any || nm.aliments == 0) return;
    surface.setTextColour(SurfaceColour::Black);
    surface.textOut(l.leftLabelX, rowOf(l, rows.size()), texteNonMesures(nm.aliments));
}

int alimentsNonMesuresPage2(const NonMesures& nm) {
    int n = 0;
    for (const QSet<int>& ligne : nm.lignes) {
        bool surPage2 = false;
        for (const LignePage2& row : LignesPage2()) surPage2 = surPage2 || ligne.contains(row.intake);
        if (surPage2) ++n;
    }
    return n;
}

QString texteNonMesures(int aliments) {
    return aliments == 1 ? QStringLiteral("* valeur non mesurée pour 1 aliment choisi")
                         : QStringLiteral("* valeur non mesurée pour %1 aliments choisis").arg(aliments);
}

void BarresPage2(Surface& surface, const DiagLayout& l, const DiagnosisData& data) {
    const QVector<LignePage2>& rows = LignesPage2();
    for (int i = 0; i < rows.size(); ++i) {
        const std::optional<double> rate = tauxDe(rows[i], data);
        if (rate) BarreTaux(surface, l, l.x(450), rowOf(l, i), colourOf(i), *rate);
    }
}

void BarreTaux(Surface& surface, const DiagLayout& l, int x, int y, quint32 colour, double rate) {
    // The bar stops at 100 %; the number beside it shows the true rate. A
    // negative rate (negative lines in the choice) would run the bar back over
    // the numbers, so it has no length.
    rate = std::clamp(rate, 0.0, 100.0);
    const int length = static_cast<int>(NumFormat::Nearest(l.paper ? rate * l.s : rate));
    const int offset = l.x(7);
    surface.setPen(colour, l.x(5));
    surface.line(x, y + offset, x + length, y + offset);
}

void dessinePage2(Surface& surface, const DiagLayout& layout, const DiagnosisData& data) {
    EnTeteBilan(surface, layout, data, 2);
    LibellesPage2(surface, layout);
    ApportsPage2(surface, layout, data);
    BesoinsPage2(surface, layout, data);
    TauxPage2(surface, layout, data);
    BarresPage2(surface, layout, data);
}
