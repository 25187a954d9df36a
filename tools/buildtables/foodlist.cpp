#include "foodlist.h"

#include <QHash>
#include <QMap>

#include "core/needs/csvfile.h"
#include "core/io/dataerror.h"
#include "core/schema/schema.h"

namespace {

// A share written with a point or a comma, between 0 and 1.
bool parseShare(QString text, double* out) {
    text = text.trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !(v >= 0 && v <= 1)) return false;
    *out = v;
    return true;
}

}   // namespace

QString FoodList::categoryOf(const QString& cell) {
    const QString text = cell.trimmed();
    const QStringList& cats = categories();
    bool isNumber = false;
    const int n = text.toInt(&isNumber);
    if (isNumber) return (n >= 1 && n <= cats.size()) ? cats.at(n - 1) : QString();
    for (const QString& c : cats)
        if (c.compare(text, Qt::CaseInsensitive) == 0) return c;
    return QString();
}

QVector<BaseFood> FoodList::read(const QString& path, const CiqualTable& ciqual) {
    const CsvFile csv = CsvFile::read(path, QLatin1Char(';'));
    const int cNum = csv.requireColumn(QStringLiteral("NUMERO"));
    const int cNom = csv.requireColumn(QStringLiteral("NOM"));
    const int cCat = csv.requireColumn(QStringLiteral("CATEGORIE"));
    const int cCode = csv.requireColumn(QStringLiteral("alim_code"));
    const int cProt = csv.requireColumn(QStringLiteral("part_animale_proteines"));
    const int cLip = csv.requireColumn(QStringLiteral("part_animale_lipides"));
    const int cNote = csv.requireColumn(QStringLiteral("note"));

    QMap<int, BaseFood> byNumber;
    QHash<QString, int> lineOfName, lineOfCode;
    for (const CsvRow& row : csv.rows()) {
        const QString where = csv.where(row);
        BaseFood f;
        f.line = row.line;

        bool ok = false;
        f.numero = row.fields.at(cNum).trimmed().toInt(&ok);
        if (!ok || f.numero < 1 || f.numero > DernierAlimentDeBase)
            throw DataError(QStringLiteral("%1 : numéro « %2 » invalide (entier de 1 à %3 attendu).")
                                .arg(where, row.fields.at(cNum))
                                .arg(DernierAlimentDeBase));
        if (byNumber.contains(f.numero))
            throw DataError(QStringLiteral("%1 : le numéro %2 est déjà celui de la ligne %3.")
                                .arg(where)
                                .arg(f.numero)
                                .arg(byNumber.value(f.numero).line));

        f.nom = row.fields.at(cNom);
        if (f.nom.trimmed().isEmpty()) throw DataError(QStringLiteral("%1 : nom vide.").arg(where));
        if (f.nom != f.nom.trimmed())
            throw DataError(
                QStringLiteral("%1 : le nom « %2 » commence ou finit par un blanc.").arg(where, f.nom));
        if (f.nom.size() > 30)
            throw DataError(QStringLiteral("%1 : le nom « %2 » a %3 caractères (30 au plus).")
                                .arg(where, f.nom)
                                .arg(f.nom.size()));
        if (!Cp1252::canEncode(f.nom))
            throw DataError(QStringLiteral("%1 : le nom « %2 » contient un caractère hors de la page "
                                           "de code Windows occidentale.")
                                .arg(where, f.nom));
        const QString key = f.nom.toCaseFolded();
        if (lineOfName.contains(key))
            throw DataError(QStringLiteral("%1 : le nom « %2 » est déjà celui de la ligne %3.")
                                .arg(where, f.nom)
                                .arg(lineOfName.value(key)));

        f.categorie = categoryOf(row.fields.at(cCat));
        if (f.categorie.isEmpty())
            throw DataError(QStringLiteral("%1 : catégorie inconnue « %2 ».").arg(where, row.fields.at(cCat)));
        if (f.categorie == CategorieComposee)
            throw DataError(QStringLiteral("%1 : un aliment de base ne peut pas être de la catégorie "
                                           "« %2 », réservée aux aliments composés.")
                                .arg(where, CategorieComposee));

        f.ciqualCode = row.fields.at(cCode).trimmed();
        if (!ciqual.find(f.ciqualCode))
            throw DataError(QStringLiteral("%1 : code CIQUAL inconnu « %2 ».").arg(where, f.ciqualCode));
        if (lineOfCode.contains(f.ciqualCode))
            throw DataError(QStringLiteral("%1 : le code CIQUAL %2 est déjà celui de la ligne %3.")
                                .arg(where, f.ciqualCode)
                                .arg(lineOfCode.value(f.ciqualCode)));

        if (!parseShare(row.fields.at(cProt), &f.shares.proteins))
            throw DataError(QStringLiteral("%1 : part animale des protéines « %2 » invalide (nombre de 0 à 1).")
                                .arg(where, row.fields.at(cProt)));
        if (!parseShare(row.fields.at(cLip), &f.shares.lipids))
            throw DataError(QStringLiteral("%1 : part animale des lipides « %2 » invalide (nombre de 0 à 1).")
                                .arg(where, row.fields.at(cLip)));
        f.note = row.fields.at(cNote).trimmed();

        lineOfName.insert(key, f.line);
        lineOfCode.insert(f.ciqualCode, f.line);
        byNumber.insert(f.numero, f);
    }
    for (int n = 1; n <= DernierAlimentDeBase; ++n)
        if (!byNumber.contains(n))
            throw DataError(QStringLiteral("%1 : aucun aliment ne porte le numéro %2 (les %3 aliments "
                                           "de base sont numérotés de 1 à %3).")
                                .arg(csv.name())
                                .arg(n)
                                .arg(DernierAlimentDeBase));
    return byNumber.values();
}
