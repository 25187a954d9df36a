#include "foodtable/foodgrid.h"

#include "core/schema/schema.h"

namespace {
// Tops of the boxes of rows 1 to 5 (each label stands 15 pixels higher).
constexpr int kTops[] = {21, 59, 97, 135, 173};

struct Cell {
    int row;
    const char* label;
    const char* field;
    const char* edit;
    int left;
    int width;
    int labelLeft;
};

// In the table's order; KCAL last, after the stored fields.
const Cell kConsultation[] = {
    {1, "N°", "NUMERO", "EditNUMERO", 6, 30, -1},
    {1, "NOM", "NOM", "EditNOM", 45, 125, -1},
    {1, "PROT.A", "PROT_A", "EditPROT_A", 177, 40, -1},
    {1, "PROT.V", "PROT_V", "EditPROT_V", 227, 40, -1},
    {1, "LIPI. A", "LIPI_A", "EditLIPI_A", 275, 40, -1},
    {1, "LIPI. V", "LIPI_V", "EditLIPI_V", 323, 40, -1},
    {2, "A.G.SAT", "A_G_SAT", "EditA_G_SAT", 6, 40, -1},
    {2, "A.G.MONO", "A_G_MONO", "EditA_G_MONO", 55, 50, -1},
    {2, "A.G.POLY", "A_G_POLY", "EditA_G_POLY", 116, 40, 115},
    {2, "CHOLEST", "CHOLEST", "EditCHOLEST", 170, 40, -1},
    {2, "GLUC.S", "GLUC_S", "EditGLUC_S", 220, 35, -1},
    {2, "GLUC.A", "GLUC_A", "EditGLUC_A", 270, 35, -1},
    {3, "Ca", "CA", "EditCA", 6, 40, -1},
    {3, "Mg", "MG", "EditMG", 50, 40, -1},
    {3, "P", "PH", "EditPH", 94, 40, -1},
    {3, "Fe", "FE", "EditFE", 138, 40, -1},
    {3, "Zn", "ZN", "EditZN", 182, 40, -1},
    {3, "I", "I", "EditI", 226, 40, -1},
    {3, "Cl", "CL", "EditCL", 270, 45, -1},
    {3, "S", "S", "EditS", 320, 40, -1},
    {4, "Mn", "MN", "EditMN", 7, 40, 6},
    {4, "Cu", "CU", "EditCU", 50, 40, -1},
    {4, "Na", "NA", "EditNA", 94, 40, -1},
    {4, "K", "K", "EditK", 138, 40, -1},
    {4, "VIT. A", "VIT_A", "EditVIT_A", 182, 40, -1},
    {4, "VIT. B1", "VIT_B1", "EditVIT_B", 227, 40, -1},
    {4, "VIT. B2", "VIT_B2", "EditVIT_B2", 270, 40, -1},
    {4, "VIT. B6", "VIT_B6", "EditVIT_B3", 315, 40, -1},
    {5, "VIT. B9", "VIT_B9", "EditVIT_B4", 6, 40, -1},
    {5, "VIT. C", "VIT_C", "EditVIT_C", 50, 40, -1},
    {5, "VIT. D", "VIT_D", "EditVIT_D", 94, 40, -1},
    {5, "VIT. PP", "VIT_PP", "EditVIT_PP", 138, 40, -1},
    {5, "FIBRES", "FIBRES", "EditFIBRES", 182, 40, -1},
};

FieldCell cellOf(const Cell& c) {
    FieldCell f;
    f.label = QString::fromUtf8(c.label);
    f.field = QString::fromLatin1(c.field);
    f.edit = QString::fromLatin1(c.edit);
    f.left = c.left;
    f.top = kTops[c.row - 1];
    f.width = c.width;
    f.format = FoodGrid::format(f.field);
    f.labelLeft = c.labelLeft;
    return f;
}
}   // namespace

namespace FoodGrid {

QString format(const QString& field) {
    if (field == QLatin1String("KCAL")) return QStringLiteral("##0");
    const FieldPresentation* p = presentationOf(field);
    return p ? p->foodFormat : QString();
}

QVector<FieldCell> consultation() {
    QVector<FieldCell> cells;
    for (const Cell& c : kConsultation) cells << cellOf(c);
    FieldCell kcal = cellOf({2, "KCAL.", "KCAL", "EditKCAL", 320, 30, -1});
    kcal.linked = false;
    cells << kcal;
    return cells;
}

QVector<FieldCell> modification() {
    // Row 2's left edges (label and box alike), and a width where it changes.
    struct Place {
        const char* field;
        int left, width;
    };
    const Place row2[] = {{"A_G_SAT", 6, 40},   {"A_G_MONO", 60, 50}, {"A_G_POLY", 126, 40},
                          {"CHOLEST", 187, 40}, {"GLUC_S", 243, 35},  {"GLUC_A", 291, 35}};
    QVector<FieldCell> cells;
    for (const Cell& c : kConsultation) {
        FieldCell f = cellOf(c);
        // The nutrients are labelled with their field names; the number, the
        // name and the minerals keep their short labels.
        if (f.field.contains(QLatin1Char('_')) || f.field == QLatin1String("CHOLEST") ||
            f.field == QLatin1String("FIBRES"))
            f.label = f.field;
        for (const Place& p : row2)
            if (f.field == QLatin1String(p.field)) {
                f.left = p.left;
                f.width = p.width;
                f.labelLeft = -1;
            }
        if (f.field == QLatin1String("MN")) {
            f.left = 6;
            f.labelLeft = -1;
        }
        cells << f;
    }
    return cells;
}

}   // namespace FoodGrid
