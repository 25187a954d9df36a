#include "core/needs/person.h"

#include <QPair>
#include <algorithm>
#include <cmath>

namespace {
// A number as the French write it: a comma, no useless zero ("58,5", "60").
QString fr(double v, int decimals = 1) {
    QString s = QString::number(v, 'f', decimals);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    }
    return s.replace(QLatin1Char('.'), QLatin1Char(','));
}

// An activity level always with its decimal: "1,4", "2,0".
QString palText(double pal) { return QString::number(pal, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')); }

QString years(int n) { return n == 1 ? QStringLiteral("1 an") : QStringLiteral("%1 ans").arg(n); }

// Heights of children, by age from 2 to 17: the least and the most, in cm.
constexpr int kChildHeights[][2] = {{70, 105},  {75, 115},  {80, 122},  {85, 130},  {90, 137},  {94, 143},
                                    {98, 150},  {102, 156}, {106, 162}, {110, 170}, {114, 178}, {117, 186},
                                    {120, 194}, {120, 200}, {120, 205}, {120, 210}};
}   // namespace

bool Person::isPregnant() const {
    return state == State::Pregnant1 || state == State::Pregnant2 || state == State::Pregnant3;
}

bool Person::isLactating() const { return state == State::Lactating0to6 || state == State::LactatingAfter6; }

bool Person::operator==(const Person& o) const {
    return name == o.name && sex == o.sex && age == o.age && weight == o.weight && height == o.height &&
           pal == o.pal && state == o.state;
}

const QVector<ActivityLevel>& activityLevels() {
    static const QVector<ActivityLevel> levels = {{1.4, QStringLiteral("sédentaire")},
                                                  {1.6, QStringLiteral("peu actif")},
                                                  {1.8, QStringLiteral("actif")},
                                                  {2.0, QStringLiteral("très actif")}};
    return levels;
}

const QVector<QPair<Person::State, QString>>& personStates() {
    using S = Person::State;
    static const QVector<QPair<S, QString>> states = {
        {S::None, QStringLiteral("aucun")},
        {S::Pregnant1, QStringLiteral("enceinte, 1er trimestre")},
        {S::Pregnant2, QStringLiteral("enceinte, 2e trimestre")},
        {S::Pregnant3, QStringLiteral("enceinte, 3e trimestre")},
        {S::Lactating0to6, QStringLiteral("allaitante, de 0 à 6 mois")},
        {S::LactatingAfter6, QStringLiteral("allaitante, après 6 mois")}};
    return states;
}

namespace PersonRules {
int minHeight(int age) { return age < 18 ? kChildHeights[std::clamp(age, 2, 17) - 2][0] : 120; }
int maxHeight(int age) { return age < 18 ? kChildHeights[std::clamp(age, 2, 17) - 2][1] : 230; }
double minBmi(int age) { return age < 18 ? 10 : 13; }
double maxBmi(int age) { return age < 18 ? 40 : 60; }

QString check(const Person& p, Field* field) {
    Field ignored;
    Field& f = field ? *field : ignored;
    f = Field::Age;
    if (p.age < kMinAge || p.age > kMaxAge)
        return QStringLiteral(
                   "Âge : de %1 à %2 ans (valeur indiquée : %3) ; les valeurs de l'EFSA utilisées ici "
                   "commencent "
                   "à 2 ans.")
            .arg(kMinAge)
            .arg(kMaxAge)
            .arg(years(p.age));
    f = Field::Height;
    if (!std::isfinite(p.height) || p.height < minHeight(p.age) || p.height > maxHeight(p.age))
        return QStringLiteral("Taille : de %1 à %2 cm à %3 (valeur indiquée : %4 cm).")
            .arg(minHeight(p.age))
            .arg(maxHeight(p.age))
            .arg(years(p.age), fr(p.height));
    f = Field::Weight;
    const double m = p.height / 100.0;
    // To the tenth of a kg within the range (the margin keeps 86.4 kg = 60 x 1.2² whole).
    const double lo = std::ceil(minBmi(p.age) * m * m * 10 - 1e-9) / 10;
    const double hi = std::floor(maxBmi(p.age) * m * m * 10 + 1e-9) / 10;
    if (!std::isfinite(p.weight) || p.weight < lo || p.weight > hi)
        return QStringLiteral(
                   "Poids : de %1 à %2 kg pour %3 cm, soit un indice de masse corporelle de %4 à %5 "
                   "(valeur indiquée : %6 kg).")
            .arg(fr(lo), fr(hi), fr(p.height), fr(minBmi(p.age)), fr(maxBmi(p.age)), fr(p.weight));
    f = Field::Pal;
    if (!std::isfinite(p.pal) || p.pal < kMinPal - 1e-9 || p.pal > kMaxPal + 1e-9)
        return QStringLiteral(
                   "Activité : un niveau d'activité physique (PAL) de %1 à %2 (valeur indiquée : %3).")
            .arg(palText(kMinPal), palText(kMaxPal), fr(p.pal, 2));
    f = Field::State;
    if (p.state != Person::State::None) {
        if (p.sex != Person::Sex::Female)
            return QStringLiteral("État : la grossesse et l'allaitement ne concernent qu'une femme.");
        if (p.age < kMinMotherAge || p.age > kMaxMotherAge)
            return QStringLiteral(
                       "État : grossesse ou allaitement de %1 à %2 ans, âges pour lesquels l'EFSA en "
                       "donne les besoins (âge indiqué : %3).")
                .arg(kMinMotherAge)
                .arg(kMaxMotherAge)
                .arg(years(p.age));
    }
    f = Field::None;
    return QString();
}
}   // namespace PersonRules

QString describePerson(const Person& p) {
    QString words = QStringLiteral("%1, %2, %3 kg, %4 cm, PAL %5")
                        .arg(p.sex == Person::Sex::Female
                                 ? (p.age < 18 ? QStringLiteral("fille") : QStringLiteral("femme"))
                                 : (p.age < 18 ? QStringLiteral("garçon") : QStringLiteral("homme")),
                             years(p.age), fr(p.weight), fr(p.height), palText(p.pal));
    for (const ActivityLevel& a : activityLevels())
        if (std::fabs(a.pal - p.pal) < 1e-9) words += QStringLiteral(" (%1)").arg(a.words);
    for (const auto& s : personStates())
        if (s.first == p.state && p.state != Person::State::None) words += QStringLiteral(", ") + s.second;
    return words;
}

QString personTitle(const Person& p) {
    const QString name = p.name.simplified();
    return name.isEmpty() ? QStringLiteral("Une personne") : name;
}
