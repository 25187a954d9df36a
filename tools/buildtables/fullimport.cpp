#include "fullimport.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include "core/io/dataerror.h"
#include "core/schema/schema.h"

namespace {

// Category number (1..14) per CIQUAL sub-group, see data/README.md.
const QHash<QString, int>& subgroupCategories() {
    static const QHash<QString, int> map = {
        {"0000", 11},                                                    // dessert (aliment moyen)
        {"0101", 8},  {"0102", 8},  {"0103", 12}, {"0104", 7}, {"0105", 7}, {"0106", 7},
        {"0201", 8},  {"0202", 9},  {"0203", 9},  {"0204", 10}, {"0205", 10},
        {"0301", 7},  {"0302", 7},  {"0303", 7},  {"0305", 7},
        {"0401", 1},  {"0402", 1},  {"0403", 2},  {"0404", 1},  {"0405", 3}, {"0406", 3},
        {"0407", 4},  {"0408", 4},  {"0409", 3},  {"0410", 5},  {"0411", 9},
        {"0501", 5},  {"0502", 5},  {"0503", 5},  {"0504", 6},
        {"0601", 12}, {"0602", 12}, {"0603", 12},
        {"0701", 11}, {"0702", 11}, {"0703", 11}, {"0704", 11}, {"0705", 7}, {"0706", 11},
        {"0707", 7},  {"0708", 11}, {"0709", 11},
        {"0801", 11}, {"0802", 11}, {"0803", 11},
        {"0901", 6},  {"0902", 6},  {"0903", 6},  {"0904", 6},  {"0905", 6},
        {"1001", 12}, {"1002", 12}, {"1003", 12}, {"1004", 12}, {"1005", 12}, {"1006", 12},
        {"1007", 14}, {"1008", 14}, {"1009", 14},
        {"1101", 5},  {"1102", 12}, {"1103", 11}, {"1104", 7},
    };
    return map;
}

// Small words that cannot end a cut name.
const QSet<QString>& danglingWords() {
    static const QSet<QString> words = {"de", "du", "des", "d'", "à", "au", "aux", "en", "et", "ou",
                                        "avec", "sans", "pour", "sur", "la", "le", "les", "l'",
                                        "type", "par", "un", "une"};
    return words;
}

QString trimTail(QString s) {
    static const QString tail = QStringLiteral(" ,;:-/(");
    for (;;) {
        while (!s.isEmpty() && tail.contains(s.back())) s.chop(1);
        const int space = s.lastIndexOf(QLatin1Char(' '));
        const QString last = s.mid(space + 1);
        if (space > 0 && danglingWords().contains(last.toLower())) {
            s.truncate(space);
            continue;
        }
        return s;
    }
}

QString removeParentheses(const QString& name) {
    static const QRegularExpression re(QStringLiteral("\\s*\\([^()]*\\)"));
    QString s = name;
    s.remove(re);
    return s.simplified();
}

QString cutAtWord(const QString& name, int maxLength) {
    if (name.size() <= maxLength) return trimTail(name);
    int cut = -1;
    for (int i = maxLength; i > 0; --i)
        if (name.at(i) == QLatin1Char(' ')) { cut = i; break; }
    QString s = cut > 0 ? name.left(cut) : name.left(maxLength);
    s = trimTail(s);
    // An opening parenthesis left without its closing one is cut away.
    const int open = s.lastIndexOf(QLatin1Char('('));
    if (open >= 0 && s.indexOf(QLatin1Char(')'), open) < 0) s = trimTail(s.left(open));
    return s;
}

}  // namespace

QString FullImport::categoryOf(const CiqualFood& food) {
    // Offal, cooked or raw, belongs with the charcuterie; plant-based
    // substitutes of the charcuterie sub-group with the pulses.
    if (food.subsubgroup == QLatin1String("040108") || food.subsubgroup == QLatin1String("040208"))
        return categories().at(1);
    if (food.subsubgroup == QLatin1String("040309")) return categories().at(8);
    auto it = subgroupCategories().constFind(food.subgroup);
    if (it == subgroupCategories().constEnd())
        throw DataError(QStringLiteral("Aliment CIQUAL %1 (ligne %2) : sous-groupe « %3 » sans catégorie.")
                            .arg(food.code).arg(food.line).arg(food.subgroup));
    return categories().at(it.value() - 1);
}

AnimalShares FullImport::sharesOf(const CiqualFood& food) {
    const QString& g = food.group;
    const QString& sg = food.subgroup;
    AnimalShares animal{1, 1}, plant{0, 0}, mixed{0.5, 0.5};
    if (food.code == QLatin1String("11007")) return animal;   // gelatin, among the plant ingredients
    if (food.subsubgroup == QLatin1String("040309") || sg == QLatin1String("0411")) return plant;
    if (g == QLatin1String("04") || g == QLatin1String("05")) return animal;
    if (sg == QLatin1String("0901") || sg == QLatin1String("0904") || sg == QLatin1String("0905"))
        return animal;
    if (g == QLatin1String("02") || g == QLatin1String("03") || g == QLatin1String("06"))
        return plant;
    if (sg == QLatin1String("0902") || sg == QLatin1String("0903") || sg == QLatin1String("0701") ||
        sg == QLatin1String("0703") || sg == QLatin1String("0704") || sg == QLatin1String("0707") ||
        sg == QLatin1String("1002") || sg == QLatin1String("1004") || sg == QLatin1String("1005") ||
        sg == QLatin1String("1006") || sg == QLatin1String("1007") || sg == QLatin1String("1009"))
        return plant;
    return mixed;
}

QString FullImport::shortName(const QString& name, int maxLength) {
    QString s = name.simplified();
    if (s.size() <= maxLength) return s;
    // CIQUAL's long names repeat a few phrases; they are shortened in turn,
    // and only as far as needed, before anything is cut.
    static const QVector<QPair<QRegularExpression, QString>> shorter = {
        {QRegularExpression(QStringLiteral("\\b(\\w+)/cuit(e|s|es)? (à l'eau|au four|à la vapeur)"), QRegularExpression::UseUnicodePropertiesOption), QStringLiteral("\\1")},
        {QRegularExpression(QStringLiteral("\\b(grillé|sauté|frit)(e|s|es)?/poêlé(e|s|es)?"), QRegularExpression::UseUnicodePropertiesOption), QStringLiteral("\\1\\2")},
        {QRegularExpression(QStringLiteral(",? préemballée?s?")), QString()},
        {QRegularExpression(QStringLiteral(",? sans précision")), QString()},
        {QRegularExpression(QStringLiteral("matières? grasses?")), QStringLiteral("MG")},
        {QRegularExpression(QStringLiteral("\\(aliment moyen\\)")), QStringLiteral("moyen")},
        {QRegularExpression(QStringLiteral("\\bappertisé(e|s|es)?"), QRegularExpression::UseUnicodePropertiesOption), QStringLiteral("conserve")},
        {QRegularExpression(QStringLiteral("\\benrichie?s? en vitamines et minéraux"), QRegularExpression::UseUnicodePropertiesOption), QStringLiteral("enrichi")},
    };
    for (const auto& rule : shorter) {
        s.replace(rule.first, rule.second);
        s = s.simplified();
        if (s.size() <= maxLength) return trimTail(s);
    }
    const QString bare = removeParentheses(s);
    return cutAtWord(bare.isEmpty() ? s : bare, maxLength);
}

QStringList FullImport::uniqueNames(const QStringList& names, int maxLength) {
    QStringList out;
    QSet<QString> taken;
    for (const QString& n : names) {
        QString candidate = n;
        for (int k = 2; taken.contains(candidate.toCaseFolded()); ++k) {
            const QString suffix = QStringLiteral(" (%1)").arg(k);
            candidate = cutAtWord(n, maxLength - suffix.size()) + suffix;
        }
        taken.insert(candidate.toCaseFolded());
        out << candidate;
    }
    return out;
}

QVector<ImportedFood> FullImport::build(const CiqualTable& table) {
    QStringList shortNames;
    for (const CiqualFood& f : table.foods()) shortNames << shortName(f.name);
    const QStringList names = uniqueNames(shortNames);
    QVector<ImportedFood> out;
    out.reserve(table.foods().size());
    for (int i = 0; i < table.foods().size(); ++i) {
        const CiqualFood& f = table.foods().at(i);
        ImportedFood food;
        food.numero = i + 1;
        food.nom = names.at(i);
        food.categorie = categoryOf(f);
        food.source = &f;
        food.shares = sharesOf(f);
        out << food;
    }
    return out;
}
