#pragma once
// The rules that turn one CIQUAL food (per 100 g) into the thirty-one values
// of the Nutrient record (per 100 g, in the Food table's units):
//   PROT_A/PROT_V  proteins N x 6.25 (the N x Jones column when CIQUAL gives
//                  no N x 6.25 value), split by the food's animal share
//   LIPI_A/LIPI_V  lipids, split by the food's animal share of lipids
//   GLUC_S, GLUC_A sugars, and the rest of the total carbohydrates
//                  ("Glucides": starch and the other available carbohydrates,
//                  at least the starch given); when the sugars are not given,
//                  they are the total less the starch; when neither is given,
//                  the total counts as sugars
//   A_G_*          saturated, mono- and polyunsaturated fatty acids (g)
//   CHOLEST        cholesterol (mg)
//   CA MG PH FE ZN CL MN CU NA K   minerals (mg), CL from chloride; when
//                  CIQUAL gives sodium but no chloride, CL is estimated as the
//                  chloride that goes with that sodium in table salt:
//                  NA x 35.45 / 22.99 (molar masses of Cl and Na), rounded
//                  as CIQUAL gives chloride (chlorurePublie)
//   I              iodine, µg / 1000
//   S              estimated: proteins hold about 1 % sulphur by mass,
//                  so S (mg) = proteins (g) x 10
//   VIT_A          retinol + beta-carotene / 6 (µg retinol equivalents) / 1000
//   VIT_B1 B2 B6 C (mg); VIT_B9 and VIT_D µg / 1000; VIT_PP niacin (mg)
//   FIBRES         dietary fibre (g)
// Cells are read by the CIQUAL cell rule (ciqualcell.h).
//
// A field is unmeasured when CIQUAL gives none of the cells it comes from
// (they are "-" or empty) and it is therefore stored as 0: proteins (both
// protein columns missing, which also leaves sulphur unknown), lipids,
// GLUC_S (neither sugars nor total), GLUC_A (neither starch nor total),
// VIT_A (neither retinol nor beta-carotene), CL (neither chloride nor
// sodium), and every other field when its own column is missing. "traces"
// and "< x" are measurements. An estimated chloride counts as measured, as
// the sulphur estimate does.
#include <QHash>
#include <QStringList>
#include <QString>
#include <optional>

#include "ciqualtable.h"

struct AnimalShares {
    double proteins = 0;   // 0..1: share of the proteins of animal origin
    double lipids = 0;     // 0..1: share of the lipids of animal origin
};

// Field name -> value for the thirty-one nutrient fields.
using NutrientValues = QHash<QString, double>;

// Where the values of one food come from, beyond the plain CIQUAL cells.
struct ValueOrigins {
    QStringList unmeasured;            // fields stored as 0 for want of a value, in nutrients() order
    bool chlorideFromSodium = false;   // CL estimated from NA
};

// The chloride that goes with a given sodium in table salt (mg for mg).
constexpr double kChloridePerSodium = 35.45 / 22.99;
// A chloride (mg) at the precision CIQUAL gives chloride: whole from 100 mg,
// one decimal from 10 mg, two decimals below.
double chlorurePublie(double mg);

// Resolves the CIQUAL columns once; throws DataError naming the file when a
// column the rules need is absent.
class NutrientRules {
public:
    explicit NutrientRules(const CiqualTable& table);

    // The thirty-one values; origins, when given, receives what was not
    // measured and what was estimated.
    NutrientValues compute(const CiqualFood& food, const AnimalShares& shares,
                           ValueOrigins* origins = nullptr) const;

    // CIQUAL's own energy (kcal, EU regulation 1169/2011), when it gives one.
    std::optional<double> ciqualEnergy(const CiqualFood& food) const;
    // Components of that energy that the Food energy does not count (g).
    double fibres(const CiqualFood& food) const;
    double alcohol(const CiqualFood& food) const;
    double polyols(const CiqualFood& food) const;
    double organicAcids(const CiqualFood& food) const;

private:
    double get(const CiqualFood& food, int column) const;
    const CiqualTable& m_table;
    int m_prot625, m_protJones, m_lipids, m_carbs, m_sugars, m_starch, m_sat, m_mono, m_poly, m_cholest, m_ca,
        m_mg, m_ph, m_fe, m_zn, m_iodine, m_chloride, m_mn, m_cu, m_na, m_k, m_retinol, m_carotene, m_b1, m_b2,
        m_b6, m_b9, m_c, m_d, m_niacin, m_fibres, m_energy, m_alcohol, m_polyols, m_acids;
};
