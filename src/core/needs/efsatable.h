#pragma once
// EFSA's dietary reference values (DRV Finder export): one row per nutrient
// and population, the values as text with their unit ("8.1 MJ/day",
// "0.83 g/kg bw per day", "(+) 1.6 mg/day", "1,7 g/day").
//
// A reference is chosen per row by one rule: the PRI when EFSA gives one,
// else the AI, else the safe and adequate intake, else the AR (energy has
// only an average requirement). Beside it EFSA gives, for some rows, a
// tolerable upper intake level (UL).
#include <QString>
#include <QVector>

struct EfsaEntry {
    int line = 0;
    QString nutrient, population, age, gender;
    QString ai, ar, pri, safe, ul;   // raw texts
    // Whether the row's age band ("2 years", "1-3 years", "≥ 18 years",
    // "30–39 years PAL=1.4") holds this age in whole years; a band in months
    // (infants) holds none.
    bool holdsAge(int years) const;
};

struct EfsaValue {
    double amount = 0;
    QString unit;             // "MJ/day", "mg/day", "μg RE/day", "g/kg bw per day", "mg/MJ"...
    bool increment = false;   // "(+) x": to be added to a base value
    QString source;           // "PRI", "AI", "AR" or "SAI", for messages
};

class EfsaTable {
public:
    static EfsaTable read(const QString& path);
    const QString& fileName() const { return m_name; }
    const QVector<EfsaEntry>& entries() const { return m_entries; }

    // The reference value for the row(s) matching the four texts exactly.
    // Several matching rows must give the same value. Throws DataError when
    // no row matches, when matches disagree, or when the chosen text is not
    // one number with a unit (a range such as "0.02–0.5", "ALAP"...).
    EfsaValue lookup(const QString& nutrient, const QString& population, const QString& age,
                     const QString& gender) const;
    // The first row of the nutrient and population whose band holds the age,
    // for this gender ("Male" or "Female") or for both; nullptr when none.
    const EfsaEntry* rowFor(const QString& nutrient, const QString& population, const QString& gender,
                            int years) const;
    // The row's tolerable upper intake level converted to mg per day; false
    // when EFSA sets none ("ND") or gives it for one form only ("mg/day
    // nicotinamide").
    static bool upperLimitMg(const EfsaEntry& row, double* mg);
    // The row's texts as a formula names them: "Nutrient|population|age|gender".
    static QString reference(const EfsaEntry& row);

    // Parses one value text; returns false when it is not "[(+)] number unit".
    static bool parseValue(const QString& text, EfsaValue* out);
    // True for the texts meaning "no value": empty, "NA", "NA.", "ND".
    static bool isAbsent(const QString& text);

private:
    QString m_name;
    QVector<EfsaEntry> m_entries;
};

// Converts an EFSA amount to the unit of a Needs table row ("kcal", "g" or
// "mg"): MJ -> kcal (x 239), g <-> mg, µg -> mg. Amounts per kg of body weight
// or per MJ keep that denominator (the formula multiplies them out). Returns
// false when the units cannot be matched.
bool convertEfsa(const EfsaValue& v, const QString& rowUnit, double* out);
