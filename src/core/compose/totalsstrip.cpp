#include "core/compose/totalsstrip.h"

#include "core/compose/dailytotals.h"
#include "core/schema/numformat.h"

namespace TotalsStrip {

QString valeur(double total) { return NumFormat::Int(NumFormat::Nearest(total), 4); }

QVector<Entry> textes(const DailyTotals& t) {
    using S = DailyTotals;
    auto e = [&](const char* label, const char* before, S::Slot slot, const char* unit) {
        return Entry{QString::fromLatin1(label),
                     QString::fromUtf8(before) + valeur(t[slot]) + QString::fromUtf8(unit)};
    };
    return {
        e("LtotalQTE", "Qté ", S::QTE, " g"),
        e("LtotalPROT_A", "P.A. ", S::PROT_A, " g"),
        e("LtotalGLUC_S", "G.S. ", S::GLUC_S, " g"),
        e("LtotalLIPI_A", "L.A. ", S::LIPI_A, " g"),
        e("LtotalA_G_SAT", "A.G.S. ", S::A_G_SAT, " g"),
        e("LtotalA_G_POLY", "A.G.P. ", S::A_G_POLY, " g"),
        e("LtotalCALORIES", "", S::CALORIES, " kcal"),
        e("LtotalPROT_V", "P.V. ", S::PROT_V, " g"),
        e("LtotalGLUC_A", "G.A. ", S::GLUC_A, " g"),
        e("LtotalLIPI_V", "L.V. ", S::LIPI_V, " g"),
        e("LtotalA_G_MONO", "A.G.M. ", S::A_G_MONO, " g"),
        // Cholesterol is stored in milligrams.
        e("LtotalCHOLEST", "Chol. ", S::CHOLEST, " mg"),
    };
}

}   // namespace TotalsStrip
