#include "core/needs/personneeds.h"

#include <algorithm>

#include "core/io/dataerror.h"
#include "core/needs/efsatable.h"
#include "core/needs/needscolumn.h"

namespace {
using N = GroupNeeds;
using S = Person::State;

// Henry (2005), Oxford equations with weight and height, as EFSA (2013)
// uses them: BMR (MJ/day) = a x weight (kg) + b x height (m) + c, by sex
// and by age band (from the age given, up to the next band).
struct HenryBand {
    int from;
    double a, b, c;
};
constexpr HenryBand kHenryMen[] = {{0, 0.118, 3.59, -1.55},    {3, 0.0632, 1.31, 1.28},
                                   {10, 0.0651, 1.11, 1.25},   {18, 0.0600, 1.31, 0.473},
                                   {30, 0.0476, 2.26, -0.574}, {60, 0.0478, 2.26, -1.070}};
constexpr HenryBand kHenryWomen[] = {{0, 0.127, 2.94, -1.20},     {3, 0.0666, 0.878, 1.46},
                                     {10, 0.0393, 1.04, 1.93},    {18, 0.0433, 2.57, -1.180},
                                     {30, 0.0342, 2.10, -0.0486}, {60, 0.0356, 1.76, 0.0448}};
// Growth lays down about 1 % of the energy spent, from 1 to 17 years.
constexpr double kGrowth = 1.01;
constexpr double kKcalPerMJ = 239;

// Rows 10 to 29 that come from one EFSA nutrient each.
struct EfsaRule {
    int row;
    const char* nutrient;
    bool perMJ;           // EFSA gives it per MJ of energy (thiamin, niacin)
    bool upperLimit;      // EFSA's UL applies to the Food table's values
    const char* adults;   // EFSA's population of adults, when not "Adults"
};
// Magnesium's UL is of supplements' magnesium salts, folate's of folic acid,
// niacin's of nicotinic acid and nicotinamide taken as such: none of them
// bounds what food brings. Vitamin A's is of preformed vitamin A: applied to
// the table's vitamin A, which also counts beta-carotene, it is on the safe
// side.
constexpr EfsaRule kEfsaRows[] = {
    {10, "Calcium", false, true, nullptr},
    {11, "Magnesium", false, false, nullptr},
    {12, "Phosphorus", false, false, nullptr},
    {13, "Iron", false, false, nullptr},
    {14, "Zinc", false, true, "Adults (LPI 600 mg/day)"},
    {15, "Iodine", false, true, nullptr},
    {16, "Vitamin A", false, true, nullptr},
    {17, "Thiamin", true, false, nullptr},
    {18, "Riboflavin", false, false, nullptr},
    {19, "Vitamin B6", false, true, nullptr},
    {20, "Folate", false, false, nullptr},
    {21, "Vitamin C", false, false, nullptr},
    {22, "Vitamin D", false, true, nullptr},
    {23, "Niacin", true, false, nullptr},
    {24, "Chloride", false, false, nullptr},
    {26, "Manganese", false, false, nullptr},
    {27, "Copper", false, true, nullptr},
    {28, "Sodium", false, false, nullptr},
    {29, "Potassium", false, false, nullptr},
};

QString number(double v) { return QString::number(v, 'g', 17); }
QString term(const EfsaEntry& row) { return QStringLiteral("EFSA[%1]").arg(EfsaTable::reference(row)); }
QString gender(Person::Sex sex) {
    return sex == Person::Sex::Female ? QStringLiteral("Female") : QStringLiteral("Male");
}

// The EFSA populations that may hold a value for the person, the most
// particular first.
QStringList populationsOf(const Person& p, const char* adults) {
    QStringList chain;
    if (p.isPregnant()) chain << QStringLiteral("Pregnant women");
    if (p.isLactating()) chain << QStringLiteral("Lactating women");
    if (p.age < 18) return chain << QStringLiteral("Children");
    if (p.sex == Person::Sex::Female)
        chain << (p.age >= PersonNeedsRules::kMenopauseAge ? QStringLiteral("Postmenopausal women")
                                                           : QStringLiteral("Premenopausal women"));
    return chain << (adults ? QString::fromUtf8(adults) : QStringLiteral("Adults"));
}

[[noreturn]] void missing(const EfsaTable& efsa, const QString& what, const Person& p) {
    throw DataError(QStringLiteral("%1 : aucune valeur de référence « %2 » pour %3.")
                        .arg(efsa.fileName(), what, describePerson(p)));
}

// The EFSA terms of a nutrient for the person: the value of the first
// population that has a row for them; an increment (pregnancy,
// breastfeeding) goes with the base found further down the list.
QString termsOf(const char* nutrient, const char* adults, const Person& p, const EfsaTable& efsa) {
    QStringList terms;
    for (const QString& population : populationsOf(p, adults)) {
        const EfsaEntry* row = efsa.rowFor(QString::fromUtf8(nutrient), population, gender(p.sex), p.age);
        if (!row) continue;
        terms << term(*row);
        if (!efsa.lookup(row->nutrient, row->population, row->age, row->gender).increment) {
            std::reverse(terms.begin(), terms.end());   // the base first, as needs.csv writes it
            return terms.join(QStringLiteral(" + "));
        }
    }
    missing(efsa, QString::fromUtf8(nutrient), p);
}

// The EFSA row of a pregnancy or breastfeeding increment ("Energy",
// "Protein"), or nullptr for none.
const EfsaEntry* incrementRow(const QString& nutrient, const Person& p, const EfsaTable& efsa) {
    QString population;
    const bool protein = nutrient == QLatin1String("Protein");
    switch (p.state) {
    case S::None:
        return nullptr;
    case S::Pregnant1:
        population = QStringLiteral("Pregnant women (1st trimester)");
        break;
    case S::Pregnant2:
        population = QStringLiteral("Pregnant women (2nd trimester)");
        break;
    case S::Pregnant3:
        population = QStringLiteral("Pregnant women (3rd trimester)");
        break;
    // EFSA gives one energy increment for breastfeeding, that of the first
    // six months; proteins have one for each period.
    case S::Lactating0to6:
        population = protein ? QStringLiteral("Lactating women (0–6 months post partum)")
                             : QStringLiteral("Lactating women");
        break;
    case S::LactatingAfter6:
        population = protein ? QStringLiteral("Lactating women (>6 months post partum)")
                             : QStringLiteral("Lactating women");
        break;
    }
    const EfsaEntry* row = efsa.rowFor(nutrient, population, QStringLiteral("Female"), p.age);
    if (!row) missing(efsa, nutrient + QStringLiteral(", ") + population, p);
    return row;
}
}   // namespace

QString PersonBilan::caption() const { return title + QStringLiteral(" — ") + parameters + SuffixeBilan; }

namespace PersonNeedsRules {

double henryBmr(Person::Sex sex, int age, double weightKg, double heightM) {
    const auto& bands = sex == Person::Sex::Female ? kHenryWomen : kHenryMen;
    const HenryBand* band = &bands[0];
    for (const HenryBand& b : bands)
        if (age >= b.from) band = &b;
    return band->a * weightKg + band->b * heightM + band->c;
}

EnergyOfPerson energyOf(const Person& p, const EfsaTable& efsa) {
    EnergyOfPerson e;
    e.bmrMJ = henryBmr(p.sex, p.age, p.weight, p.height / 100.0);
    e.pal = p.pal;
    e.growth = p.age < 18 ? kGrowth : 1.0;
    if (const EfsaEntry* row = incrementRow(QStringLiteral("Energy"), p, efsa)) {
        const EfsaValue v = efsa.lookup(row->nutrient, row->population, row->age, row->gender);
        if (!convertEfsa(v, QStringLiteral("kcal"), &e.incrementMJ)) missing(efsa, row->nutrient, p);
        e.incrementMJ /= kKcalPerMJ;
    }
    e.kcal = (e.bmrMJ * e.pal * e.growth + e.incrementMJ) * kKcalPerMJ;
    return e;
}

QStringList formulasAt(const Person& p, double energyKcal, const EfsaTable& efsa) {
    QStringList f(kNeedsRows);
    f[0] = number(energyKcal);
    // Proteins: the reference per kg of body weight (before pregnancy), plus
    // the increment of the trimester or of the period of breastfeeding.
    const QString population = p.age < 18 ? QStringLiteral("Children") : QStringLiteral("Adults");
    const EfsaEntry* protein = efsa.rowFor(QStringLiteral("Protein"), population, gender(p.sex), p.age);
    if (!protein) missing(efsa, QStringLiteral("Protein"), p);
    f[1] = term(*protein) + QStringLiteral(" * ") + number(p.weight);
    if (const EfsaEntry* inc = incrementRow(QStringLiteral("Protein"), p, efsa))
        f[1] += QStringLiteral(" + ") + term(*inc);
    f[2] = f[3] = QStringLiteral("L2 * 0.5");
    f[4] = f[5] = QStringLiteral("L7 * 0.5");
    f[6] = QStringLiteral("L1 * 0.35 / 9");
    // Total sugars at most (Anses): under 4 years the limit of 4 to 7 years
    // scaled by the energy need over that of the child of 5.
    if (p.age < 4) {
        double five = 0;
        for (const char* g : {"Male", "Female"}) {
            double kcal = 0;
            convertEfsa(efsa.lookup(QStringLiteral("Energy"), QStringLiteral("Children"),
                                    QStringLiteral("5 years PAL=1.6"), QString::fromLatin1(g)),
                        QStringLiteral("kcal"), &kcal);
            five += kcal / 2;
        }
        f[7] = QStringLiteral("60 * L1 / ") + number(five);
    } else {
        f[7] = p.age <= 7 ? QStringLiteral("60") : p.age <= 12 ? QStringLiteral("75") : QStringLiteral("100");
    }
    f[8] = QStringLiteral("(L1 - 4 * (L3 + L4) - 9 * (L5 + L6)) / 4 - L8");
    f[24] = QStringLiteral("L2 * 10");
    for (const EfsaRule& r : kEfsaRows) {
        f[r.row - 1] = termsOf(r.nutrient, r.adults, p, efsa);
        if (r.perMJ) f[r.row - 1] += QStringLiteral(" * L1 / 239");
    }
    return f;
}

PersonNeeds needsAt(const Person& p, double energyKcal, const EfsaTable& efsa) {
    PersonNeeds out;
    out.formulas = formulasAt(p, energyKcal, efsa);
    NeedsColumnSource source;
    source.formulas = out.formulas;
    const QString who = describePerson(p);
    source.where = [&](int row) { return QStringLiteral("Besoins de %1, ligne %2").arg(who).arg(row); };
    out.rows = evaluateNeedsColumn(source, efsa);
    for (int s = 0; s < N::Count; ++s) out.needs.v[s] = out.rows[N::rowOf(N::Slot(s)) - 1];
    out.limits = upperLimitsOf(p, efsa);
    return out;
}

PersonNeeds computeNeeds(const Person& p, const EfsaTable& efsa) {
    const QString wrong = PersonRules::check(p);
    if (!wrong.isEmpty()) throw DataError(wrong);
    const EnergyOfPerson energy = energyOf(p, efsa);
    PersonNeeds out = needsAt(p, energy.kcal, efsa);
    out.energy = energy;
    return out;
}

PersonBilan bilanOf(const Person& p, const EfsaTable& efsa) {
    const PersonNeeds n = computeNeeds(p, efsa);
    return PersonBilan{personTitle(p), describePerson(p), n.needs, n.limits};
}

UpperLimits upperLimitsOf(const Person& p, const EfsaTable& efsa) {
    UpperLimits limits;
    for (const EfsaRule& r : kEfsaRows) {
        if (!r.upperLimit) continue;
        double mg = 0;
        // The person's own rows first; where they set none (pregnancy and
        // copper, women past menopause and vitamin A), EFSA's for the adults
        // of the age, of either sex.
        const Person::Sex other = p.sex == Person::Sex::Female ? Person::Sex::Male : Person::Sex::Female;
        for (const QString& g : {gender(p.sex), gender(other)})
            for (const QString& population : populationsOf(p, r.adults)) {
                const EfsaEntry* row = efsa.rowFor(QString::fromUtf8(r.nutrient), population, g, p.age);
                double value = 0;
                if (mg == 0 && row && EfsaTable::upperLimitMg(*row, &value)) mg = value;
            }
        for (int s = 0; s < N::Count; ++s)
            if (N::rowOf(N::Slot(s)) == r.row) limits.v[s] = mg;
    }
    return limits;
}

QVector<Person> groupPersons(const QString& column) {
    // Age, sexes, weight (that of the proteins of the Needs table), height
    // (median of the age for children; 1.63 and 1.76 m, whose body mass
    // index of 22 gives the adults' weights), PAL, state.
    struct Group {
        const char* column;
        int age;
        const char* sexes;   // "F", "H" or "FH" for the mean of a girl and a boy
        double weight, heightF, heightH, pal;
        S state;
    };
    static const Group groups[] = {
        {"E_2_ANS", 2, "FH", 12, 86, 87, 1.4, S::None},
        {"E_5_ANS", 5, "FH", 18.5, 109, 110, 1.6, S::None},
        {"E_8_ANS", 8, "FH", 25.5, 127, 127, 1.6, S::None},
        {"F_11_ANS", 11, "F", 37, 144, 0, 1.8, S::None},
        {"G_11_ANS", 11, "H", 36, 0, 143, 1.8, S::None},
        {"F_13_ANS", 13, "F", 46, 157, 0, 1.8, S::None},
        {"G_13_ANS", 13, "H", 46, 0, 156, 1.8, S::None},
        {"F_17_ANS", 17, "F", 56, 164, 0, 1.8, S::None},
        {"G_17_ANS", 17, "H", 64, 0, 175, 1.8, S::None},
        {"F_SEDENT", 35, "F", 58.5, 163, 0, 1.4, S::None},
        {"H_SEDENT", 35, "H", 68.1, 0, 176, 1.4, S::None},
        {"F_ENCEINTE", 35, "F", 58.5, 163, 0, 1.4, S::Pregnant2},
        {"F_ALLETANT", 35, "F", 58.5, 163, 0, 1.4, S::Lactating0to6},
        {"F_FORCE", 35, "F", 58.5, 163, 0, 1.8, S::None},
        {"H_FORCE", 35, "H", 68.1, 0, 176, 1.8, S::None},
        {"F_VIEILLAR", 75, "F", 58.5, 163, 0, 1.4, S::None},
        {"H_VIEILLAR", 75, "H", 68.1, 0, 176, 1.4, S::None},
    };
    QVector<Person> out;
    for (const Group& g : groups) {
        if (column != QLatin1String(g.column)) continue;
        for (const char* s = g.sexes; *s; ++s) {
            Person p;
            p.name = column;
            p.sex = *s == 'F' ? Person::Sex::Female : Person::Sex::Male;
            p.age = g.age;
            p.weight = g.weight;
            p.height = *s == 'F' ? g.heightF : g.heightH;
            p.pal = g.pal;
            p.state = g.state;
            out << p;
        }
    }
    return out;
}

UpperLimits groupUpperLimits(const QString& column, const EfsaTable& efsa) {
    UpperLimits limits;
    for (const Person& p : groupPersons(column)) {
        const UpperLimits l = upperLimitsOf(p, efsa);
        for (int s = 0; s < N::Count; ++s)
            if (l.v[s] > 0) limits.v[s] = limits.v[s] > 0 ? std::min(limits.v[s], l.v[s]) : l.v[s];
    }
    return limits;
}

}   // namespace PersonNeedsRules
