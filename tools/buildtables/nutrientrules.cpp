#include "nutrientrules.h"

#include <QSet>
#include <algorithm>
#include <cmath>

#include "core/schema/schema.h"

double chlorurePublie(double mg) {
    // CIQUAL gives chloride as whole milligrams from 100 mg, with one decimal
    // from 10 mg and two below: an estimate shows no more than a measure.
    const double echelle = mg >= 100 ? 1 : (mg >= 10 ? 10 : 100);
    return std::round(mg * echelle) / echelle;
}

NutrientRules::NutrientRules(const CiqualTable& t) : m_table(t) {
    auto col = [&](const char* title) { return t.column(QString::fromUtf8(title)); };
    m_prot625 = col("Protéines, N x 6.25 (g/100 g)");
    m_protJones = col("Protéines, N x facteur de Jones (g/100 g)");
    m_lipids = col("Lipides (g/100 g)");
    m_carbs = col("Glucides (g/100 g)");
    m_sugars = col("Sucres (g/100 g)");
    m_starch = col("Amidon (g/100 g)");
    m_sat = col("AG saturés (g/100 g)");
    m_mono = col("AG monoinsaturés (g/100 g)");
    m_poly = col("AG polyinsaturés (g/100 g)");
    m_cholest = col("Cholestérol (mg/100 g)");
    m_ca = col("Calcium (mg/100 g)");
    m_mg = col("Magnésium (mg/100 g)");
    m_ph = col("Phosphore (mg/100 g)");
    m_fe = col("Fer (mg/100 g)");
    m_zn = col("Zinc (mg/100 g)");
    m_iodine = col("Iode (µg/100 g)");
    m_chloride = col("Chlorure (mg/100 g)");
    m_mn = col("Manganèse (mg/100 g)");
    m_cu = col("Cuivre (mg/100 g)");
    m_na = col("Sodium (mg/100 g)");
    m_k = col("Potassium (mg/100 g)");
    m_retinol = col("Rétinol (µg/100 g)");
    m_carotene = col("Beta-Carotène (µg/100 g)");
    m_b1 = col("Vitamine B1 ou Thiamine (mg/100 g)");
    m_b2 = col("Vitamine B2 ou Riboflavine (mg/100 g)");
    m_b6 = col("Vitamine B6 (mg/100 g)");
    m_b9 = col("Vitamine B9 ou Folates totaux (µg/100 g)");
    m_c = col("Vitamine C (mg/100 g)");
    m_d = col("Vitamine D (µg/100 g)");
    m_niacin = col("Vitamine B3 ou PP ou Niacine (mg/100 g)");
    m_fibres = col("Fibres alimentaires (g/100 g)");
    m_energy = col("Energie, Règlement UE N° 1169/2011 (kcal/100 g)");
    m_alcohol = col("Alcool (g/100 g)");
    m_polyols = col("Polyols totaux (g/100 g)");
    m_acids = col("Acides organiques (g/100 g)");
}

double NutrientRules::get(const CiqualFood& food, int column) const {
    return m_table.value(food, column).value;
}

NutrientValues NutrientRules::compute(const CiqualFood& food, const AnimalShares& shares,
                                      ValueOrigins* origins) const {
    NutrientValues v;
    QSet<QString> unmeasured;
    // A field taken from one column (divided into the Food table's unit):
    // its value, and unmeasured when CIQUAL gives none.
    auto take = [&](const char* field, int column, double divisor = 1) {
        const CiqualValue c = m_table.value(food, column);
        if (c.missing) unmeasured.insert(QLatin1String(field));
        v.insert(QLatin1String(field), c.value / divisor);
    };

    const CiqualValue p625 = m_table.value(food, m_prot625);
    const CiqualValue jones = m_table.value(food, m_protJones);
    const double proteins = p625.missing ? jones.value : p625.value;
    const CiqualValue lipids = m_table.value(food, m_lipids);
    v.insert(QStringLiteral("PROT_A"), proteins * shares.proteins);
    v.insert(QStringLiteral("PROT_V"), proteins * (1 - shares.proteins));
    v.insert(QStringLiteral("LIPI_A"), lipids.value * shares.lipids);
    v.insert(QStringLiteral("LIPI_V"), lipids.value * (1 - shares.lipids));
    if (p625.missing && jones.missing)
        unmeasured += {QStringLiteral("PROT_A"), QStringLiteral("PROT_V"), QStringLiteral("S")};
    if (lipids.missing) unmeasured += {QStringLiteral("LIPI_A"), QStringLiteral("LIPI_V")};

    const CiqualValue carbs = m_table.value(food, m_carbs);
    const CiqualValue sugars = m_table.value(food, m_sugars);
    const CiqualValue starch = m_table.value(food, m_starch);
    // Sugars are GLUC_S; every other available carbohydrate of the total
    // (starch, but also glycogen, dextrins, oligosaccharides that CIQUAL
    // counts in "Glucides" without naming them) is GLUC_A.
    double s = sugars.value, a = starch.value;
    if (!carbs.missing) {
        if (!sugars.missing)
            a = std::max(starch.value, carbs.value - sugars.value);
        else if (!starch.missing)
            s = std::max(0.0, carbs.value - starch.value);
        else {
            s = carbs.value;   // not split at all: counted as sugars
            a = 0;
        }
    }
    v.insert(QStringLiteral("GLUC_S"), s);
    v.insert(QStringLiteral("GLUC_A"), a);
    if (carbs.missing && sugars.missing) unmeasured.insert(QStringLiteral("GLUC_S"));
    if (carbs.missing && starch.missing) unmeasured.insert(QStringLiteral("GLUC_A"));

    take("A_G_SAT", m_sat);
    take("A_G_MONO", m_mono);
    take("A_G_POLY", m_poly);
    take("CHOLEST", m_cholest);
    take("CA", m_ca);
    take("MG", m_mg);
    take("PH", m_ph);
    take("FE", m_fe);
    take("ZN", m_zn);
    take("I", m_iodine, 1000);
    take("MN", m_mn);
    take("CU", m_cu);
    take("NA", m_na);
    take("K", m_k);
    v.insert(QStringLiteral("S"), proteins * 10);

    // Chloride: where CIQUAL did not measure it, the sodium it gives is
    // taken to come with its chloride as table salt. In salted foods
    // (charcuterie, cheese, shellfish, condiments) that is nearly all of it.
    const CiqualValue chloride = m_table.value(food, m_chloride);
    const CiqualValue sodium = m_table.value(food, m_na);
    bool chlorideFromSodium = false;
    if (!chloride.missing) {
        v.insert(QStringLiteral("CL"), chloride.value);
    } else if (!sodium.missing) {
        v.insert(QStringLiteral("CL"), chlorurePublie(sodium.value * kChloridePerSodium));
        chlorideFromSodium = true;
    } else {
        v.insert(QStringLiteral("CL"), 0.0);
        unmeasured.insert(QStringLiteral("CL"));
    }

    const CiqualValue retinol = m_table.value(food, m_retinol);
    const CiqualValue carotene = m_table.value(food, m_carotene);
    v.insert(QStringLiteral("VIT_A"), (retinol.value + carotene.value / 6) / 1000);
    if (retinol.missing && carotene.missing) unmeasured.insert(QStringLiteral("VIT_A"));
    take("VIT_B1", m_b1);
    take("VIT_B2", m_b2);
    take("VIT_B6", m_b6);
    take("VIT_B9", m_b9, 1000);
    take("VIT_C", m_c);
    take("VIT_D", m_d, 1000);
    take("VIT_PP", m_niacin);
    take("FIBRES", m_fibres);

    if (origins) {
        origins->unmeasured.clear();
        for (const Nutrient& n : nutrients())
            if (unmeasured.contains(QLatin1String(n.field))) origins->unmeasured << QLatin1String(n.field);
        origins->chlorideFromSodium = chlorideFromSodium;
    }
    return v;
}

std::optional<double> NutrientRules::ciqualEnergy(const CiqualFood& food) const {
    const CiqualValue e = m_table.value(food, m_energy);
    if (e.missing) return std::nullopt;
    return e.value;
}

double NutrientRules::fibres(const CiqualFood& food) const { return get(food, m_fibres); }
double NutrientRules::alcohol(const CiqualFood& food) const { return get(food, m_alcohol); }
double NutrientRules::polyols(const CiqualFood& food) const { return get(food, m_polyols); }
double NutrientRules::organicAcids(const CiqualFood& food) const { return get(food, m_acids); }
