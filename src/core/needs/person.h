#pragma once
// A person whose needs are computed: sex, age, body, activity and, for a
// woman, pregnancy or breastfeeding; with the ranges within which EFSA's
// reference values and the energy equations hold, and the words that
// describe the person in titles.
#include <QString>
#include <QVector>

struct Person {
    enum class Sex { Female, Male };
    enum class State { None, Pregnant1, Pregnant2, Pregnant3, Lactating0to6, LactatingAfter6 };

    QString name;   // optional
    Sex sex = Sex::Female;
    int age = 35;           // whole years
    double weight = 58.5;   // kg; before pregnancy for a pregnant woman
    double height = 163;    // cm
    double pal = 1.4;       // physical activity level
    State state = State::None;

    bool isPregnant() const;
    bool isLactating() const;
    bool operator==(const Person& o) const;
};

// The activity levels offered, from the least: PAL 1.4 "sédentaire", 1.6
// "peu actif", 1.8 "actif", 2.0 "très actif".
struct ActivityLevel {
    double pal;
    QString words;
};
const QVector<ActivityLevel>& activityLevels();

// The states offered, None first, with their words ("aucun", "enceinte,
// 1er trimestre" ... "allaitante, après 6 mois").
const QVector<QPair<Person::State, QString>>& personStates();

namespace PersonRules {
constexpr int kMinAge = 2, kMaxAge = 100;
// Pregnancy and breastfeeding: EFSA's values are those of women from 18.
constexpr int kMinMotherAge = 18, kMaxMotherAge = 55;
constexpr double kMinPal = 1.4, kMaxPal = 2.0;
// Heights that can be, at an age: about four standard deviations around the
// median of the age for children, 120 to 230 cm for adults.
int minHeight(int age);
int maxHeight(int age);
// Weights that can be, for a height: a body mass index of 10 to 40 under
// 18 years, 13 to 60 from 18.
double minBmi(int age);
double maxBmi(int age);

enum class Field { None, Age, Height, Weight, Pal, State };
// The first parameter outside what the computation accepts, as a French
// message naming the field and the accepted range; empty when all hold.
// field, when given, receives which one.
QString check(const Person& p, Field* field = nullptr);
}

// "femme, 35 ans, 58,5 kg, 163 cm, PAL 1,4 (sédentaire)" ("fille" or
// "garçon" under 18), then the state ("enceinte, 2e trimestre").
QString describePerson(const Person& p);
// The person's name when given, else "Une personne": the title of the bilan.
QString personTitle(const Person& p);
