#pragma once
// A Food table around the limit of the Base foods, with composites on both
// sides of it and their lines in the Composite table, for the food table tests.
#include <QDir>
#include <QVariantMap>

#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "support/testsupport.h"

namespace FoodFixture {

inline QVariantMap food(int numero, const QString& nom, const QString& categorie, double protA = 1.0) {
    QVariantMap m;
    m["NUMERO"] = numero;
    m["NOM"] = nom;
    m["CATEGORIE"] = categorie;
    m["PROT_A"] = protA;
    m["LIPI_A"] = 2.0;
    m["GLUC_S"] = 3.0;
    return m;
}

inline QVariantMap line(const QString& composite, const QString& nom) {
    QVariantMap m;
    m["NOM_COMPO"] = composite;
    m["NOM"] = nom;
    m["QTE"] = 100.0;
    return m;
}

// Foods in record order: 1 Pomme, 250 Zeste, 233 Poire, 234 Tarte maison
// (composite), 120 Gâteau (a Base composite), 2 Beurre, 300 Salade. Lines:
// three of "Tarte maison", two of "Gâteau", two of "Soupe" (no such food).
inline void write(const QString& dir) {
    const QStringList& c = categories();
    const QString fruits = c[9], gras = c[5], legumes = c[7];
    const QString foods = Fixtures::createEmpty(foodSchema(), dir);
    Fixtures::appendRecords(
        foodSchema(), foods,
        {food(1, QStringLiteral("Pomme"), fruits), food(250, QStringLiteral("Zeste"), fruits),
         food(233, QStringLiteral("Poire"), fruits),
         food(234, QStringLiteral("Tarte maison"), CategorieComposee),
         food(120, QStringLiteral("Gâteau"), CategorieComposee), food(2, QStringLiteral("Beurre"), gras),
         food(300, QStringLiteral("Salade"), legumes)});
    const QString lines = Fixtures::createEmpty(compositeSchema(), dir);
    Fixtures::appendRecords(compositeSchema(), lines,
                            {line(QStringLiteral("Tarte maison"), QStringLiteral("Pomme")),
                             line(QStringLiteral("Gâteau"), QStringLiteral("Beurre")),
                             line(QStringLiteral("Tarte maison"), QStringLiteral("Beurre")),
                             line(QStringLiteral("Soupe"), QStringLiteral("Salade")),
                             line(QStringLiteral("Gâteau"), QStringLiteral("Pomme")),
                             line(QStringLiteral("Tarte maison"), QStringLiteral("Poire")),
                             line(QStringLiteral("Soupe"), QStringLiteral("Poire"))});
}

// The values of one field of the records not deleted, in record order, as
// read from the file.
inline QStringList column(const QString& path, const QString& field) {
    auto f = DbfFile::open(path, true);
    const int i = f->fieldIndex(field);
    QStringList out;
    for (int r = 0; r < f->recordCount(); ++r)
        if (!f->isDeleted(r))
            out << (f->fields()[i].type == 'C' ? f->text(r, i) : QString::number(f->number(r, i)));
    return out;
}

}   // namespace FoodFixture
