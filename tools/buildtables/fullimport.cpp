#include "fullimport.h"

#include "core/ciqual/ciqualgroups.h"
#include "core/ciqual/ciqualnames.h"
#include "core/io/dataerror.h"
#include "core/schema/schema.h"

QString FullImport::categoryOf(const CiqualFood& food) {
    const QString category = CiqualGroups::category(food.subgroup, food.subsubgroup);
    if (category.isEmpty())
        throw DataError(QStringLiteral("Aliment CIQUAL %1 (ligne %2) : sous-groupe « %3 » sans catégorie.")
                            .arg(food.code)
                            .arg(food.line)
                            .arg(food.subgroup));
    return category;
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
    if (g == QLatin1String("02") || g == QLatin1String("03") || g == QLatin1String("06")) return plant;
    if (sg == QLatin1String("0902") || sg == QLatin1String("0903") || sg == QLatin1String("0701") ||
        sg == QLatin1String("0703") || sg == QLatin1String("0704") || sg == QLatin1String("0707") ||
        sg == QLatin1String("1002") || sg == QLatin1String("1004") || sg == QLatin1String("1005") ||
        sg == QLatin1String("1006") || sg == QLatin1String("1007") || sg == QLatin1String("1009"))
        return plant;
    return mixed;
}

QVector<ImportedFood> FullImport::build(const CiqualTable& table) {
    QStringList shortNames;
    for (const CiqualFood& f : table.foods()) shortNames << CiqualNames::shortName(f.name);
    const QStringList names = CiqualNames::uniqueNames(shortNames);
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
