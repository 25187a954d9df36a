#include "core/needs/efsatable.h"

#include <QRegularExpression>

#include "core/needs/csvfile.h"
#include "core/io/dataerror.h"

EfsaTable EfsaTable::read(const QString& path) {
    const CsvFile csv = CsvFile::read(path, QLatin1Char(','));
    EfsaTable t;
    t.m_name = csv.name();
    const int cN = csv.requireColumn(QStringLiteral("Nutrient"));
    const int cP = csv.requireColumn(QStringLiteral("Target population"));
    const int cA = csv.requireColumn(QStringLiteral("Age"));
    const int cG = csv.requireColumn(QStringLiteral("Gender"));
    const int cAI = csv.requireColumn(QStringLiteral("AI"));
    const int cAR = csv.requireColumn(QStringLiteral("AR"));
    const int cPRI = csv.requireColumn(QStringLiteral("PRI"));
    const int cS = csv.requireColumn(QStringLiteral("Safe and adequate intake"));
    const int cUL = csv.requireColumn(QStringLiteral("UL"));
    for (const CsvRow& r : csv.rows()) {
        EfsaEntry e;
        e.line = r.line;
        e.nutrient = r.fields.at(cN).simplified();
        e.population = r.fields.at(cP).simplified();
        e.age = r.fields.at(cA).simplified();
        e.gender = r.fields.at(cG).simplified();
        e.ai = r.fields.at(cAI).trimmed();
        e.ar = r.fields.at(cAR).trimmed();
        e.pri = r.fields.at(cPRI).trimmed();
        e.safe = r.fields.at(cS).trimmed();
        e.ul = r.fields.at(cUL).trimmed();
        t.m_entries << e;
    }
    return t;
}

bool EfsaTable::isAbsent(const QString& text) {
    const QString t = text.trimmed();
    return t.isEmpty() || t == QLatin1String("NA") || t == QLatin1String("NA.") || t == QLatin1String("ND");
}

bool EfsaTable::parseValue(const QString& text, EfsaValue* out) {
    static const QRegularExpression re(QStringLiteral("^(\\(\\+\\)\\s*)?([0-9]+(?:[.,][0-9]+)?)\\s+(\\S.*)$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch()) return false;
    QString number = m.captured(2);
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    out->amount = number.toDouble(&ok);
    out->unit = m.captured(3).simplified();
    out->increment = !m.captured(1).isEmpty();
    // A range ("100–200 mg/day") leaves a dash at the start of the unit.
    if (out->unit.startsWith(QChar(0x2013)) || out->unit.startsWith(QLatin1Char('-'))) return false;
    return ok;
}

EfsaValue EfsaTable::lookup(const QString& nutrient, const QString& population, const QString& age,
                            const QString& gender) const {
    const QString what = QStringLiteral("%1 | %2 | %3 | %4").arg(nutrient, population, age, gender);
    bool found = false;
    EfsaValue result;
    int resultLine = 0;
    for (const EfsaEntry& e : m_entries) {
        if (e.nutrient != nutrient.simplified() || e.population != population.simplified() ||
            e.age != age.simplified() || e.gender != gender.simplified())
            continue;
        const QString* text = nullptr;
        QString source;
        if (!isAbsent(e.pri)) {
            text = &e.pri;
            source = QStringLiteral("PRI");
        } else if (!isAbsent(e.ai)) {
            text = &e.ai;
            source = QStringLiteral("AI");
        } else if (!isAbsent(e.safe)) {
            text = &e.safe;
            source = QStringLiteral("SAI");
        } else if (!isAbsent(e.ar)) {
            text = &e.ar;
            source = QStringLiteral("AR");
        }
        if (!text)
            throw DataError(QStringLiteral("%1:%2 : aucune valeur de référence pour %3.")
                                .arg(m_name)
                                .arg(e.line)
                                .arg(what));
        EfsaValue v;
        if (!parseValue(*text, &v))
            throw DataError(QStringLiteral("%1:%2 : la valeur « %3 » (%4) n'est pas un nombre suivi "
                                           "d'une unité.")
                                .arg(m_name)
                                .arg(e.line)
                                .arg(*text, source));
        v.source = source;
        if (found && (v.amount != result.amount || v.unit != result.unit || v.increment != result.increment))
            throw DataError(QStringLiteral("%1:%2 : %3 donne une autre valeur qu'à la ligne %4.")
                                .arg(m_name)
                                .arg(e.line)
                                .arg(what)
                                .arg(resultLine));
        if (!found) {
            result = v;
            resultLine = e.line;
            found = true;
        }
    }
    if (!found) throw DataError(QStringLiteral("%1 : aucune ligne pour %2.").arg(m_name, what));
    return result;
}

bool convertEfsa(const EfsaValue& v, const QString& rowUnit, double* out) {
    QString unit = v.unit;
    unit.replace(QChar(0x00B5), QChar(0x03BC));   // micro sign and Greek mu alike
    // The mass (or energy) part before "/day", "/kg ..." or "/MJ".
    const int slash = unit.indexOf(QLatin1Char('/'));
    if (slash < 0) return false;
    QString mass = unit.left(slash).trimmed();
    const QString per = unit.mid(slash + 1).trimmed();
    if (!(per == QLatin1String("day") || per == QLatin1String("MJ") || per.startsWith(QLatin1String("kg bw"))))
        return false;
    // Qualifiers of the reference unit: retinol, folate and niacin equivalents.
    for (const char* q : {" RE", " DFE", " NE"})
        if (mass.endsWith(QLatin1String(q))) mass.chop(int(qstrlen(q)));
    double factor = 0;
    if (rowUnit == QLatin1String("kcal")) {
        if (mass == QLatin1String("MJ")) factor = 239;
    } else if (rowUnit == QLatin1String("g")) {
        if (mass == QLatin1String("g"))
            factor = 1;
        else if (mass == QLatin1String("mg"))
            factor = 0.001;
    } else if (rowUnit == QLatin1String("mg")) {
        if (mass == QLatin1String("g"))
            factor = 1000;
        else if (mass == QLatin1String("mg"))
            factor = 1;
        else if (mass == QString(QChar(0x03BC)) + QLatin1Char('g'))
            factor = 0.001;
    }
    if (factor == 0) return false;
    *out = v.amount * factor;
    return true;
}

bool EfsaEntry::holdsAge(int years) const {
    // "≥ A", "A-B" or "A–B", "A", then the unit; anything after (PAL=) aside.
    static const QRegularExpression re(
        QStringLiteral("^(\u2265\\s*)?([0-9]+)(?:\\s*[-\u2013]\\s*([0-9]+))?\\s*"
                       "(years?|months?)\\b"));
    const auto m = re.match(age);
    if (!m.hasMatch()) return false;
    // Bands in months are those of infants, under the youngest age asked.
    if (m.captured(4).startsWith(QLatin1String("month"))) return false;
    const int from = m.captured(2).toInt();
    if (!m.captured(1).isEmpty()) return years >= from;
    const int to = m.captured(3).isEmpty() ? from : m.captured(3).toInt();
    return years >= from && years <= to;
}

const EfsaEntry* EfsaTable::rowFor(const QString& nutrient, const QString& population, const QString& gender,
                                   int years) const {
    for (const EfsaEntry& e : m_entries)
        if (e.nutrient == nutrient && e.population == population &&
            (e.gender == gender || e.gender == QLatin1String("Both genders")) && e.holdsAge(years))
            return &e;
    return nullptr;
}

bool EfsaTable::upperLimitMg(const EfsaEntry& row, double* mg) {
    EfsaValue v;
    return !isAbsent(row.ul) && parseValue(row.ul, &v) && !v.increment &&
           convertEfsa(v, QStringLiteral("mg"), mg);
}

QString EfsaTable::reference(const EfsaEntry& row) {
    return QStringList{row.nutrient, row.population, row.age, row.gender}.join(QLatin1Char('|'));
}
