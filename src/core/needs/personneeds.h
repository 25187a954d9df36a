#pragma once
// The needs of one person from EFSA's dietary reference values, by the rules
// the Needs table follows for its seventeen groups (data/README.md):
//   - energy by EFSA's own method: the basal metabolic rate of Henry's
//     equations (2005) for the sex, the age band, the weight and the height,
//     times the physical activity level, plus about 1 % for growth under 18,
//     plus EFSA's increment for the trimester of pregnancy or for
//     breastfeeding;
//   - every other row from the EFSA band holding the person's age: proteins
//     per kg of the person's weight, thiamin and niacin per MJ of the energy
//     need, iron and vitamin A of women by menopause (from 50 years), zinc at
//     the usual phytate intake, the sugar maximum and the starch minimum by
//     the rules of rows 8 and 9.
// Each row is written as a formula of needs.csv and computed by the same code
// that computes the groups' columns (needscolumn.h). Beside the needs, the
// tolerable upper intake levels EFSA sets for the person (UpperLimits).
//
// Plain data in, needs out: nothing here reads a file but through the
// EfsaTable given.
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/diagnosis/needs.h"
#include "core/needs/person.h"

class EfsaTable;

struct EnergyOfPerson {
    double bmrMJ = 0;   // basal metabolic rate, MJ per day
    double pal = 0;
    double growth = 1;        // 1.01 under 18 years
    double incrementMJ = 0;   // pregnancy or breastfeeding
    double kcal = 0;          // (bmrMJ x pal x growth + incrementMJ) x 239
};

struct PersonNeeds {
    EnergyOfPerson energy;
    QStringList formulas;   // rows 1 to 29 of the Needs table, in the language of needs.csv
    QVector<double> rows;   // their values
    GroupNeeds needs;       // the 27 values the diagnosis reads
    UpperLimits limits;
};

// What the diagnosis shows for a person: the title of the bilan (the name),
// the parameters in words (under the title), the needs and upper levels.
struct PersonBilan {
    QString title, parameters;
    GroupNeeds needs;
    UpperLimits limits;
    // "Marie — femme, 72 ans, ... : bilan de la ration journalière"
    QString caption() const;
};

namespace PersonNeedsRules {
// A woman counts as past menopause from this age (iron, vitamin A).
constexpr int kMenopauseAge = 50;
// Henry (2005), weight and height: MJ per day, weight in kg, height in m.
double henryBmr(Person::Sex sex, int age, double weightKg, double heightM);
// The person's energy need (throws DataError when an EFSA increment is missing).
EnergyOfPerson energyOf(const Person& p, const EfsaTable& efsa);
// The 29 formulas for the person with this energy need (kcal, row 1).
QStringList formulasAt(const Person& p, double energyKcal, const EfsaTable& efsa);
// The needs with this energy need.
PersonNeeds needsAt(const Person& p, double energyKcal, const EfsaTable& efsa);
// The needs: the parameters checked (PersonRules::check; a DataError with its
// message, nothing computed), then the energy, the rows and the limits.
PersonNeeds computeNeeds(const Person& p, const EfsaTable& efsa);
// computeNeeds, as the diagnosis shows it.
PersonBilan bilanOf(const Person& p, const EfsaTable& efsa);
// The upper levels EFSA sets for the person that apply to the Food table's
// values: calcium, copper, iodine, zinc, vitamin A (of preformed vitamin A,
// applied to all of the table's vitamin A), vitamin B6 and vitamin D.
UpperLimits upperLimitsOf(const Person& p, const EfsaTable& efsa);

// The persons a group of the Needs table stands for (the boy and the girl of
// a group that is their mean), with the group's reference body.
QVector<Person> groupPersons(const QString& column);
// The upper levels of a group: the lower of its persons'.
UpperLimits groupUpperLimits(const QString& column, const EfsaTable& efsa);
}   // namespace PersonNeedsRules
