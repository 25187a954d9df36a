#include "core/foodtable/ranking.h"

#include "core/schema/numformat.h"
#include "core/interfaces/surface.h"
#include "core/table/table.h"

namespace {
QString g() { return QStringLiteral(" g"); }
QString mg() { return QStringLiteral(" mg"); }
}   // namespace

const QVector<Ranking>& classements() {
    static const QVector<Ranking> rows = {
        {"RBprot_a", QStringLiteral("Prot. anim."), 360, 51, QStringLiteral("PROT_A"),
         QStringLiteral("protéines d'origine animale"), g()},
        {"RBprot_v", QStringLiteral("Prot. vég."), 360, 77, QStringLiteral("PROT_V"),
         QStringLiteral("protéines d'origine végétale"), g()},
        {"RBgluc_s", QStringLiteral("Sucre"), 360, 103, QStringLiteral("GLUC_S"), QStringLiteral("sucre"), g()},
        {"RBgluc_a", QStringLiteral("Amidon"), 360, 129, QStringLiteral("GLUC_A"), QStringLiteral("amidon"),
         g()},
        {"RBlip_a", QStringLiteral("Lip. anim."), 360, 155, QStringLiteral("LIPI_A"),
         QStringLiteral("lipides d'origine animale"), g()},
        {"RBlip_v", QStringLiteral("Lip. vég."), 360, 181, QStringLiteral("LIPI_V"),
         QStringLiteral("lipides d'origine végétale"), g()},
        {"RBa_g_sat", QStringLiteral("A.G. Sat."), 360, 207, QStringLiteral("A_G_SAT"),
         QStringLiteral("acides gras saturés"), g()},
        {"RBa_g_mono", QStringLiteral("A.G. Mono"), 360, 234, QStringLiteral("A_G_MONO"),
         QStringLiteral("acides gras monoinsaturés"), g()},
        {"RBa_g_poly", QStringLiteral("A.G. Poly"), 360, 260, QStringLiteral("A_G_POLY"),
         QStringLiteral("acides gras polyinsaturés"), g()},
        {"RBcalcium", QStringLiteral("Calcium (mg)"), 360, 286, QStringLiteral("CA"), QStringLiteral("calcium"),
         mg()},
        {"RBchlore", QStringLiteral("Chlore (mg)"), 360, 312, QStringLiteral("CL"), QStringLiteral("chlore"),
         mg()},
        {"RBcuivre", QStringLiteral("Cuivre (mg)"), 360, 338, QStringLiteral("CU"), QStringLiteral("cuivre"),
         mg()},
        {"RBfer", QStringLiteral("Fer (mg)"), 360, 364, QStringLiteral("FE"), QStringLiteral("fer"), mg()},
        {"RBi", QStringLiteral("Iode (mg)"), 360, 390, QStringLiteral("I"), QStringLiteral("iode"), mg()},
        {"RBmagnesium", QStringLiteral("Magnésium (mg)"), 360, 416, QStringLiteral("MG"),
         QStringLiteral("magnésium"), mg()},
        {"RBmanganese", QStringLiteral("Manganèse (mg)"), 489, 53, QStringLiteral("MN"),
         QStringLiteral("manganèse"), mg()},
        {"RBphosphore", QStringLiteral("Phosphore (mg)"), 489, 80, QStringLiteral("PH"),
         QStringLiteral("phosphore"), mg()},
        {"RBk", QStringLiteral("Potassium (mg)"), 489, 105, QStringLiteral("K"), QStringLiteral("potassium"),
         mg()},
        {"RBna", QStringLiteral("Sodium (mg)"), 489, 131, QStringLiteral("NA"), QStringLiteral("sodium"), mg()},
        {"RBs", QStringLiteral("Soufre (mg)"), 489, 157, QStringLiteral("S"), QStringLiteral("soufre"), mg()},
        {"RBzn", QStringLiteral("Zinc (mg)"), 489, 183, QStringLiteral("ZN"), QStringLiteral("zinc"), mg()},
        {"RBvit_a", QStringLiteral("Vit. A (mg)"), 489, 209, QStringLiteral("VIT_A"),
         QStringLiteral("vitamine A"), mg()},
        {"RBvit_B1", QStringLiteral("Vit. B1 (mg)"), 489, 236, QStringLiteral("VIT_B1"),
         QStringLiteral("vitamine B1"), mg()},
        {"RBvit_B2", QStringLiteral("Vit. B2 (mg)"), 489, 262, QStringLiteral("VIT_B2"),
         QStringLiteral("vitamine B2"), mg()},
        {"RBvit_B6", QStringLiteral("Vit. B6 (mg)"), 489, 288, QStringLiteral("VIT_B6"),
         QStringLiteral("vitamine B6"), mg()},
        {"RBvit_B9", QStringLiteral("Vit. B9 (mg)"), 489, 314, QStringLiteral("VIT_B9"),
         QStringLiteral("vitamine B9"), mg()},
        {"RBvit_C", QStringLiteral("Vit. C (mg)"), 489, 340, QStringLiteral("VIT_C"),
         QStringLiteral("vitamine C"), mg()},
        {"RBvit_D", QStringLiteral("Vit. D (mg)"), 489, 366, QStringLiteral("VIT_D"),
         QStringLiteral("vitamine D"), mg()},
        {"RBvit_PP", QStringLiteral("Vit. PP (mg)"), 489, 392, QStringLiteral("VIT_PP"),
         QStringLiteral("vitamine PP"), mg()},
        {"RBcholesterol", QStringLiteral("Cholesterol (mg)"), 489, 418, QStringLiteral("CHOLEST"),
         QStringLiteral("cholesterol"), mg()},
    };
    return rows;
}

const Ranking* classementDe(const QString& champ) {
    for (const Ranking& c : classements())
        if (c.champ.compare(champ, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

int uniteImpression(int pageWidth) {
    const long long u = NumFormat::Nearest(pageWidth / 640.0);
    return u < 1 ? 1 : static_cast<int>(u);
}

QString montantTri(double value) { return NumFormat::Fixed(value, 7, 3); }

QString titreTri(const Ranking& c) { return QStringLiteral("Aliments comprenant le plus de ") + c.libelle; }

void imprimeTri(Surface& surface, int pageWidth, const Ranking& c, Table& talimtri) {
    RankingPrintLayout page;
    page.u = uniteImpression(pageWidth);

    const QString titre = titreTri(c);
    surface.setFontName(QStringLiteral("Times New Roman"));
    surface.setFontStyle(Surface::Bold | Surface::Underline);
    surface.setFontSize(14);
    surface.setTextColour(SurfaceColour::Black);
    surface.textOut((pageWidth - surface.textWidth(titre)) / 2, page.y0(), titre);

    surface.setFontStyle(Surface::Regular);
    surface.setFontSize(10);
    surface.setTextColour(SurfaceColour::Blue);
    talimtri.first();
    for (int column = 0; column < 2; ++column) {
        for (int i = RankingPrintLayout::premiereLigne; i <= RankingPrintLayout::derniereLigne; ++i) {
            if (talimtri.eof()) break;
            const int y = page.rowY(i);
            surface.textOut(page.nameX(column), y, talimtri.asString(QStringLiteral("NOM")));
            // The number alone is measured, so that the unit stands past the
            // column's end and the numbers line up whatever the unit.
            const QString montant = montantTri(talimtri.asFloat(c.champ));
            surface.textOut(page.amountRight(column) - surface.textWidth(montant), y, montant + c.unite);
            talimtri.next();
        }
    }
    talimtri.first();
}
