#include "core/ciqual/ciqualnames.h"

#include <QRegularExpression>
#include <QSet>
#include <QVector>

namespace {

// Small words that cannot end a cut name.
const QSet<QString>& danglingWords() {
    static const QSet<QString> words = {"de",  "du", "des",  "d'",   "à",    "au",  "aux", "en",
                                        "et",  "ou", "avec", "sans", "pour", "sur", "la",  "le",
                                        "les", "l'", "type", "par",  "un",   "une"};
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
        if (name.at(i) == QLatin1Char(' ')) {
            cut = i;
            break;
        }
    QString s = cut > 0 ? name.left(cut) : name.left(maxLength);
    s = trimTail(s);
    // An opening parenthesis left without its closing one is cut away.
    const int open = s.lastIndexOf(QLatin1Char('('));
    if (open >= 0 && s.indexOf(QLatin1Char(')'), open) < 0) s = trimTail(s.left(open));
    return s;
}

}   // namespace

QString CiqualNames::shortName(const QString& name, int maxLength) {
    QString s = name.simplified();
    if (s.size() <= maxLength) return s;
    // CIQUAL's long names repeat a few phrases; they are shortened in turn,
    // and only as far as needed, before anything is cut.
    static const QVector<QPair<QRegularExpression, QString>> shorter = {
        {QRegularExpression(QStringLiteral("\\b(\\w+)/cuit(e|s|es)? (à l'eau|au four|à la vapeur)"),
                            QRegularExpression::UseUnicodePropertiesOption),
         QStringLiteral("\\1")},
        {QRegularExpression(QStringLiteral("\\b(grillé|sauté|frit)(e|s|es)?/poêlé(e|s|es)?"),
                            QRegularExpression::UseUnicodePropertiesOption),
         QStringLiteral("\\1\\2")},
        {QRegularExpression(QStringLiteral(",? préemballée?s?")), QString()},
        {QRegularExpression(QStringLiteral(",? sans précision")), QString()},
        {QRegularExpression(QStringLiteral("matières? grasses?")), QStringLiteral("MG")},
        {QRegularExpression(QStringLiteral("\\(aliment moyen\\)")), QStringLiteral("moyen")},
        {QRegularExpression(QStringLiteral("\\bappertisé(e|s|es)?"),
                            QRegularExpression::UseUnicodePropertiesOption),
         QStringLiteral("conserve")},
        {QRegularExpression(QStringLiteral("\\benrichie?s? en vitamines et minéraux"),
                            QRegularExpression::UseUnicodePropertiesOption),
         QStringLiteral("enrichi")},
    };
    for (const auto& rule : shorter) {
        s.replace(rule.first, rule.second);
        s = s.simplified();
        if (s.size() <= maxLength) return trimTail(s);
    }
    const QString bare = removeParentheses(s);
    return cutAtWord(bare.isEmpty() ? s : bare, maxLength);
}

QStringList CiqualNames::uniqueNames(const QStringList& names, int maxLength) {
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
