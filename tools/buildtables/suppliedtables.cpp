#include "suppliedtables.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "core/ciqual/ciqualcatalogue.h"
#include "core/dbf/collation.h"
#include "core/io/dataerror.h"
#include "core/schema/schema.h"

SourcePaths SourcePaths::inDataDir(const QString& dataDir) {
    const QDir d(dataDir);
    SourcePaths p;
    p.foods = d.filePath(QStringLiteral("foods.csv"));
    p.needs = d.filePath(QStringLiteral("needs.csv"));
    p.ciqual = d.filePath(QStringLiteral("sources/ciqual-2020.csv"));
    p.efsa = d.filePath(QStringLiteral("sources/efsa-drv.csv"));
    return p;
}

namespace {

TableRecord foodRecord(int numero, const QString& nom, const QString& categorie, const NutrientValues& values) {
    TableRecord r;
    r.insert(QStringLiteral("NUMERO"), double(numero));
    r.insert(QStringLiteral("NOM"), nom);
    r.insert(QStringLiteral("CATEGORIE"), categorie);
    for (const Nutrient& n : nutrients()) {
        const QString field = QString::fromLatin1(n.field);
        r.insert(field, values.value(field));
    }
    return r;
}

}   // namespace

BaseFoodTables SuppliedTables::baseFoods(const QVector<BaseFood>& foods, const CiqualTable& ciqual) {
    const NutrientRules rules(ciqual);
    BaseFoodTables out;
    for (const BaseFood& f : foods) {
        ValueOrigins origins;
        out.foods << foodRecord(f.numero, f.nom, f.categorie,
                                rules.compute(*ciqual.find(f.ciqualCode), f.shares, &origins));
        if (!origins.unmeasured.isEmpty())
            out.unmeasured << UnmeasuredTable::record(f.numero, f.nom, origins.unmeasured);
        if (origins.chlorideFromSodium) out.chlorideFromSodium << f.numero;
        TableRecord origin;
        origin.insert(QStringLiteral("NUMERO"), double(f.numero));
        origin.insert(QStringLiteral("NOM"), f.nom);
        origin.insert(QStringLiteral("SOURCE"), CiqualCatalogue::sourceName());
        origin.insert(QStringLiteral("CODE"), f.ciqualCode);
        out.origins << origin;
    }
    return out;
}

QVector<TableRecord> SuppliedTables::importedRecords(const QVector<ImportedFood>& foods,
                                                     const CiqualTable& ciqual) {
    const NutrientRules rules(ciqual);
    QVector<TableRecord> out;
    out.reserve(foods.size());
    for (const ImportedFood& f : foods)
        out << foodRecord(f.numero, f.nom, f.categorie, rules.compute(*f.source, f.shares));
    return out;
}

QVector<TableRecord> SuppliedTables::ciqualRecords(const CiqualTable& ciqual) {
    const NutrientRules rules(ciqual);
    // In French name order, the order the program lists them in.
    QVector<const CiqualFood*> order;
    for (const CiqualFood& f : ciqual.foods()) order << &f;
    std::stable_sort(order.begin(), order.end(), [](const CiqualFood* a, const CiqualFood* b) {
        return Collation::compare(Collation::key(a->name), Collation::key(b->name)) < 0;
    });
    QVector<TableRecord> out;
    out.reserve(order.size());
    for (const CiqualFood* food : order) {
        const CiqualFood& f = *food;
        FullImport::categoryOf(f);   // the program can give every food its category
        TableRecord r;
        r.insert(QStringLiteral("CODE"), f.code);
        r.insert(QStringLiteral("NOM"), f.name);
        r.insert(QStringLiteral("GRP"), f.group);
        r.insert(QStringLiteral("SSGRP"), f.subgroup);
        r.insert(QStringLiteral("SSSSGRP"), f.subsubgroup);
        r.insert(QStringLiteral("GRP_NOM"), f.groupName);
        r.insert(QStringLiteral("SSGRP_NOM"), f.subgroupName);
        ValueOrigins origins;
        const NutrientValues values = rules.compute(f, FullImport::sharesOf(f), &origins);
        for (const Nutrient& n : nutrients()) {
            const QString field = QString::fromLatin1(n.field);
            r.insert(field, values.value(field));
            r.insert(ciqualUnmeasuredField(field), origins.unmeasured.contains(field));
        }
        out << r;
    }
    return out;
}

QVector<TableRecord> SuppliedTables::needsRecords(const NeedsTable& needs) {
    QVector<TableRecord> out;
    for (int row = 0; row < kNeedsRows; ++row) {
        TableRecord r;
        r.insert(QStringLiteral("NOM"), needs.rowNames.at(row));
        for (int c = 0; c < needs.columns.size(); ++c)
            r.insert(needs.columns.at(c), needs.cells.at(row).at(c).value);
        out << r;
    }
    return out;
}

void SuppliedTables::build(const SourcePaths& sources, const QString& outDir) {
    const CiqualTable ciqual = CiqualTable::read(sources.ciqual);
    const QVector<BaseFood> foods = FoodList::read(sources.foods, ciqual);
    const EfsaTable efsa = EfsaTable::read(sources.efsa);
    const NeedsTable needs = Needs::read(sources.needs, efsa);

    const BaseFoodTables base = baseFoods(foods, ciqual);
    QVector<PendingTable> tables;
    tables << PendingTable{&foodSchema(), foodSchema().fileName, base.foods};
    tables << PendingTable{&UnmeasuredTable::schema(), UnmeasuredTable::schema().fileName, base.unmeasured};
    tables << PendingTable{&originsSchema(), originsSchema().fileName, base.origins};
    tables << PendingTable{&needsSchema(), needsSchema().fileName, needsRecords(needs)};
    tables << PendingTable{&choiceSchema(), choiceSchema().fileName, {}};
    tables << PendingTable{&choiceSchema(), QStringLiteral("choix0.dbf"), {}};
    tables << PendingTable{&compositeSchema(), compositeSchema().fileName, {}};
    tables << PendingTable{&ciqualSchema(), ciqualSchema().fileName, ciqualRecords(ciqual)};
    TableWriter::writeAll(outDir, tables);
}

int SuppliedTables::buildFullCiqual(const QString& ciqualPath, const QString& outFile) {
    const CiqualTable ciqual = CiqualTable::read(ciqualPath);
    const QVector<ImportedFood> foods = FullImport::build(ciqual);
    const QFileInfo info(outFile);
    if (info.fileName().isEmpty()) throw DataError(QStringLiteral("Nom de fichier de sortie manquant."));
    TableWriter::writeAll(info.absolutePath(),
                          {PendingTable{&foodSchema(), info.fileName(), importedRecords(foods, ciqual)}});
    return foods.size();
}
