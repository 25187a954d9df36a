#include "core/suggest/portiontable.h"

#include <QFile>
#include <QStringList>

#include "core/io/dataerror.h"

namespace {
[[noreturn]] void refuse(const QString& shown, int line, const QString& why) {
    throw DataError(QStringLiteral("%1, ligne %2 : %3.").arg(shown).arg(line).arg(why));
}

// "*" any text, "?" one character, everything else as it stands (a "/"
// included: names are no paths).
QString globToRegex(const QString& glob) {
    QString re;
    for (const QChar c : glob) {
        if (c == QLatin1Char('*'))
            re += QStringLiteral(".*");
        else if (c == QLatin1Char('?'))
            re += QLatin1Char('.');
        else
            re += QRegularExpression::escape(QString(c));
    }
    return re;
}

double grams(const QString& text, const QString& shown, int line) {
    bool ok = false;
    const double g = text.trimmed().toDouble(&ok);
    if (!ok || g < 0.0 || g > 10000.0)
        refuse(shown, line, QStringLiteral("« %1 » n'est pas un nombre de grammes de 0 à 10000").arg(text));
    return g;
}
}   // namespace

QString PortionTable::normalised(const QString& text) {
    QString out;
    const QString decomposed = text.toLower().normalized(QString::NormalizationForm_D);
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing) continue;
        if (c == QChar(0x0153)) {   // œ
            out += QStringLiteral("oe");
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

PortionTable PortionTable::fromCsv(const QByteArray& csv, const QString& shown) {
    PortionTable table;
    const QStringList lines = QString::fromUtf8(csv).split(QLatin1Char('\n'));
    for (int i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty()) continue;
        const QStringList cells = line.split(QLatin1Char(';'));
        if (cells.size() != 5) refuse(shown, i + 1, QStringLiteral("cinq colonnes attendues"));
        Row row;
        row.category = cells[0].trimmed();
        const QString pattern = normalised(cells[1]);
        if (row.category.isEmpty() || pattern.isEmpty())
            refuse(shown, i + 1, QStringLiteral("catégorie ou nom vide"));
        QStringList alternatives;
        for (const QString& glob : pattern.split(QLatin1Char('|'))) alternatives << globToRegex(glob.trimmed());
        row.pattern = QRegularExpression(QRegularExpression::anchoredPattern(
            QStringLiteral("(?:%1)").arg(alternatives.join(QLatin1Char('|')))));
        row.portion.minGrams = grams(cells[2], shown, i + 1);
        row.portion.maxGrams = grams(cells[3], shown, i + 1);
        if (row.portion.minGrams > row.portion.maxGrams)
            refuse(shown, i + 1, QStringLiteral("le minimum dépasse le maximum"));
        row.portion.rule = cells[4].trimmed();
        table.m_rows << row;
    }
    return table;
}

const PortionTable& PortionTable::supplied() {
    static const PortionTable table = [] {
        Q_INIT_RESOURCE(portions);
        QFile f(QStringLiteral(":/suggest/portions.csv"));
        if (!f.open(QIODevice::ReadOnly))
            throw DataError(QStringLiteral("La table des portions manque au programme."));
        return fromCsv(f.readAll(), QStringLiteral("portions.csv"));
    }();
    return table;
}

Portion PortionTable::portionOf(const QString& category, const QString& name) const {
    const QString key = normalised(name);
    const QString cat = category.trimmed();
    for (const Row& r : m_rows)
        if ((r.category == QLatin1String("*") || r.category == cat) && r.pattern.match(key).hasMatch())
            return r.portion;
    return Portion{};
}
