#pragma once
// The Nutrient record, the schemas of the five tables with their presentation
// attributes, the fourteen food categories and the Food energy. This is the
// one place where fields, units, labels and display formats are defined;
// everything else names fields by the names given here.
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/dbf/dbf.h"

// One nutrient of the Nutrient record.
struct Nutrient {
    const char* field;   // field name, e.g. "PROT_A"
    QString name;        // French name shown in titles, e.g. "protéines d'origine animale"
    QString unit;        // unit of the stored value: "g", "mg" or "" (fibres)
};

// The thirty-one nutrients, in the order of the table of the Nutrient record
// (PROT_A, PROT_V, GLUC_S, GLUC_A, LIPI_A, LIPI_V, A_G_SAT ... VIT_PP, FIBRES).
const QVector<Nutrient>& nutrients();
// The nutrient of a field name, or nullptr.
const Nutrient* nutrientByField(const QString& field);

// The names of the fields the program's code reads and writes by name, one
// spelling each (the schemas below give every field with its width).
namespace Fields {
inline const QString NUMERO = QStringLiteral("NUMERO");
inline const QString NOM = QStringLiteral("NOM");
inline const QString CATEGORIE = QStringLiteral("CATEGORIE");
inline const QString NOM_COMPO = QStringLiteral("NOM_COMPO");
inline const QString QTE = QStringLiteral("QTE");
inline const QString SOURCE = QStringLiteral("SOURCE");
inline const QString CODE = QStringLiteral("CODE");
}   // namespace Fields

// Presentation attributes of one field in each window that shows it.
// An empty format means the general number format ("default");
// labels are empty where the window shows the bare field name.
struct FieldPresentation {
    QString choiceLabel;     // title in the grid of the day's choice
    QString choiceFormat;    // display format there ("0.000", "0.0000", "" = general)
    QString foodFormat;      // format of the Food table (consultation, editing)
    QString rankingLabel;    // label in the ranking grid
    QString rankingFormat;   // format in the ranking grid
};
const FieldPresentation* presentationOf(const QString& field);

// One index tag: the order it gives is the key field's, in the tag's
// direction, then the tie-break field's (always ascending, if any), then the
// record number. Text keys compare in French order (core/dbf/collation.h),
// number keys as numbers.
struct TagDescription {
    enum class Kind { Text, Number };
    enum class Direction { Ascending, Descending };
    QString name;    // the tag's name, e.g. "PROT_A"
    QString field;   // the key field
    Kind kind = Kind::Text;
    Direction direction = Direction::Ascending;
    QString tieBreak;   // field ordering equal keys; empty for none
};

struct TableSchema {
    QString fileName;               // as the program names it, e.g. "DIETAB.DBF"
    QString kind;                   // what such a file is, e.g. "une table des aliments"
    QVector<DbfField> fields;       // physical order, with width and decimals
    QVector<TagDescription> tags;   // index tags that can be set on this table
    QString defaultTag;             // tag set when the handle is made ("" natural)
    QStringList fieldNames() const;
    const DbfField* field(const QString& name) const;
    QStringList tagNames() const;
    // The tag of that name, without regard to case, or nullptr.
    const TagDescription* tag(const QString& name) const;
    // Throws DataError when the file is not such a table: a field of the
    // schema missing, or of another kind (text for 'C', number for 'N' or
    // 'F'), the message naming the file, what it is not and the field.
    // Widths, decimals and fields the schema does not know do not matter.
    void checkFile(const DbfFile& file) const;
};

// Food table DIETAB.DBF: NUMERO, NOM, CATEGORIE and the thirty-one nutrients.
const TableSchema& foodSchema();
// Choice table CHOIX.DBF (and its template choix0.dbf): 36 fields.
const TableSchema& choiceSchema();
// Composite table Alimcomp.DBF: 36 fields.
const TableSchema& compositeSchema();
// Needs table BESOINS.DBF: NOM and one column per population group.
const TableSchema& needsSchema();

// Side table NONMESUR.DBF, beside the Food table: one record per food that
// has values its source did not measure (stored as 0 in the Food table).
//   NUMERO, NOM        the food's number and name (a record applies only to
//                      the food that has both)
//   PROT_A ... FIBRES  L 1 each, in the Food table's order: T when the value
//                      was not measured, F otherwise
// A food without a record has every value measured; a missing table means
// nothing is known to be unmeasured.
const TableSchema& nonMesuresSchema();

// Persons table PERSONNE.DBF: the persons whose needs the diagnosis computed,
// one record each, found again by name.
//   NOM     the name (C 30)          SEXE    F or H
//   AGE     years (N 3)              POIDS   kg (N 5, 1)
//   TAILLE  cm (N 5, 1)              PAL     activity level (N 3, 1)
//   ETAT    0 none, 1 to 3 the trimester of pregnancy, 4 breastfeeding from
//           0 to 6 months, 5 after 6 months
const TableSchema& personsSchema();

// Side table ORIGINES.DBF, beside the Food table: where a food's values come
// from, for the foods taken from a published table.
//   NUMERO, NOM   the food's number and name (a record applies only to the
//                 food that has both)
//   SOURCE        the published table, "CIQUAL 2020"
//   CODE          the food's code in it, "13039"
const TableSchema& originsSchema();

// The whole CIQUAL 2020 table, CIQUAL.DBF, installed with the program and
// only ever read: one record per CIQUAL food, in French name order.
//   CODE                     CIQUAL's alim_code
//   NOM                      CIQUAL's full name (alim_nom_fr)
//   GRP, SSGRP, SSSSGRP      its group, sub-group and sub-sub-group codes
//   GRP_NOM, SSGRP_NOM       the names of its group and sub-group
//   PROT_A ... FIBRES        the thirty-one values per 100 g, as the Food
//                            table would hold them (same fields, same widths)
//   N_PROT_A ... N_FIBRES    L 1 each: T when CIQUAL gives no value (stored 0)
const TableSchema& ciqualSchema();
// The logical field of CIQUAL.DBF that marks a nutrient unmeasured.
QString ciqualUnmeasuredField(const QString& nutrient);

// The thirty nutrient index tags of the Food table (every nutrient but FIBRES).
// Each orders the foods from the largest value of the nutrient down, equal
// values by name.
const QStringList& nutrientTags();

// The program's files in the Data directory, one spelling each; each is
// found on disk whatever its letter case (DataDirectory::resolve).
namespace FileNames {
const QString& choix();             // the day's choice: the Choice table's file, "CHOIX.DBF"
const QString& choixVide();         // the empty choice template, "choix0.dbf"
const QString& sauvegardeChoix();   // the day set aside during composite mode, "choix.tmp"
const QString& aide();              // the help file, "DIETAIDE.HLP"
}

// The fourteen categories, in the fixed order of every category list.
const QStringList& categories();
// The category of composite foods, recognised everywhere by exact comparison.
extern const QString CategorieComposee;   // "PRODUITS COMPOSÉS"
// Highest number of the Base foods, which can never be deleted.
constexpr int DernierAlimentDeBase = 233;

// Food energy in kcal of an amount of food whose macronutrients are given.
double foodEnergy(double protA, double protV, double lipiA, double lipiV, double glucS, double glucA);
// The same sum kept in extended precision, for computations that go on.
long double foodEnergyExtended(double protA, double protV, double lipiA, double lipiV, double glucS,
                               double glucA);

// The thirty-three slots of the Daily totals / the numeric fields of a Choice
// line from QTE to FIBRES, in the Choice table's field order.
const QStringList& choiceNumericFields();
// The order in which a Choice line's computed fields are written from a food:
// PROT_A, PROT_V, LIPI_A, LIPI_V, A_G_SAT, A_G_MONO, A_G_POLY, CHOLEST, GLUC_S,
// GLUC_A, CALORIES, CA ... FIBRES (thirty-two fields, CALORIES included).
const QStringList& lineComputedFields();
