#include "nutrientrules.h"

#include <algorithm>

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

NutrientValues NutrientRules::compute(const CiqualFood& food, const AnimalShares& shares) const {
    NutrientValues v;
    const CiqualValue p625 = m_table.value(food, m_prot625);
    const double proteins = p625.missing ? get(food, m_protJones) : p625.value;
    const double lipids = get(food, m_lipids);
    v.insert(QStringLiteral("PROT_A"), proteins * shares.proteins);
    v.insert(QStringLiteral("PROT_V"), proteins * (1 - shares.proteins));
    v.insert(QStringLiteral("LIPI_A"), lipids * shares.lipids);
    v.insert(QStringLiteral("LIPI_V"), lipids * (1 - shares.lipids));

    const CiqualValue carbs = m_table.value(food, m_carbs);
    const CiqualValue sugars = m_table.value(food, m_sugars);
    const CiqualValue starch = m_table.value(food, m_starch);
    // Sugars are GLUC_S; every other available carbohydrate of the total
    // (starch, but also glycogen, dextrins, oligosaccharides that CIQUAL
    // counts in "Glucides" without naming them) is GLUC_A.
    double s = sugars.value, a = starch.value;
    if (!carbs.missing) {
        if (!sugars.missing) a = std::max(starch.value, carbs.value - sugars.value);
        else if (!starch.missing) s = std::max(0.0, carbs.value - starch.value);
        else {
            s = carbs.value;   // not split at all: counted as sugars
            a = 0;
        }
    }
    v.insert(QStringLiteral("GLUC_S"), s);
    v.insert(QStringLiteral("GLUC_A"), a);

    v.insert(QStringLiteral("A_G_SAT"), get(food, m_sat));
    v.insert(QStringLiteral("A_G_MONO"), get(food, m_mono));
    v.insert(QStringLiteral("A_G_POLY"), get(food, m_poly));
    v.insert(QStringLiteral("CHOLEST"), get(food, m_cholest));
    v.insert(QStringLiteral("CA"), get(food, m_ca));
    v.insert(QStringLiteral("MG"), get(food, m_mg));
    v.insert(QStringLiteral("PH"), get(food, m_ph));
    v.insert(QStringLiteral("FE"), get(food, m_fe));
    v.insert(QStringLiteral("ZN"), get(food, m_zn));
    v.insert(QStringLiteral("I"), get(food, m_iodine) / 1000);
    v.insert(QStringLiteral("CL"), get(food, m_chloride));
    v.insert(QStringLiteral("S"), proteins * 10);
    v.insert(QStringLiteral("MN"), get(food, m_mn));
    v.insert(QStringLiteral("CU"), get(food, m_cu));
    v.insert(QStringLiteral("NA"), get(food, m_na));
    v.insert(QStringLiteral("K"), get(food, m_k));
    v.insert(QStringLiteral("VIT_A"), (get(food, m_retinol) + get(food, m_carotene) / 6) / 1000);
    v.insert(QStringLiteral("VIT_B1"), get(food, m_b1));
    v.insert(QStringLiteral("VIT_B2"), get(food, m_b2));
    v.insert(QStringLiteral("VIT_B6"), get(food, m_b6));
    v.insert(QStringLiteral("VIT_B9"), get(food, m_b9) / 1000);
    v.insert(QStringLiteral("VIT_C"), get(food, m_c));
    v.insert(QStringLiteral("VIT_D"), get(food, m_d) / 1000);
    v.insert(QStringLiteral("VIT_PP"), get(food, m_niacin));
    v.insert(QStringLiteral("FIBRES"), get(food, m_fibres));
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
