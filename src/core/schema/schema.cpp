#include "core/schema/schema.h"

#include "core/io/dataerror.h"

#include <QHash>

namespace {

// Widths and decimals of the numeric fields. Per-100 g values keep six
// decimals (vitamin D in mg needs at least four); line values are up to a
// hundred times larger (10000 g) and may be negative, so they get a wider
// field with eight decimals, enough for a whole day's energy in CALORIES.
constexpr int kFoodWidth = 14, kFoodDecimals = 6;
constexpr int kLineWidth = 18, kLineDecimals = 8;
constexpr int kQteWidth = 11;
constexpr int kNeedsWidth = 12, kNeedsDecimals = 5;

DbfField num(const QString& name, int width, int decimals) {
    DbfField f;
    f.name = name;
    f.type = 'N';
    f.length = width;
    f.decimals = decimals;
    return f;
}

DbfField chr(const QString& name, int width) {
    DbfField f;
    f.name = name;
    f.type = 'C';
    f.length = width;
    return f;
}

DbfField logical(const QString& name) {
    DbfField f;
    f.name = name;
    f.type = 'L';
    f.length = 1;
    return f;
}

TagDescription textTag(const QString& field) {
    return {field, field, TagDescription::Kind::Text, TagDescription::Direction::Ascending, QString()};
}

// The nutrients' fields in the order of the Nutrient record.
QStringList nutrientFields() {
    QStringList l;
    for (const Nutrient& n : nutrients()) l << QString::fromLatin1(n.field);
    return l;
}

// The list with these fields (taken out first when it holds them) put right
// after the field `after`.
QStringList placedAfter(QStringList list, const QStringList& fields, const QString& after) {
    for (const QString& f : fields) list.removeOne(f);
    int at = list.indexOf(after) + 1;
    for (const QString& f : fields) list.insert(at++, f);
    return list;
}

// The nutrients in the field order of the Food table (and of the lines of
// composites): the Nutrient record's, with the carbohydrates after the
// cholesterol.
const QStringList& foodNutrientOrder() {
    static const QStringList l = placedAfter(nutrientFields(), {"GLUC_S", "GLUC_A"}, "CHOLEST");
    return l;
}

void layOut(QVector<DbfField>& fields) {
    int offset = 0;
    for (auto& f : fields) {
        f.offset = offset;
        offset += f.length;
    }
}

TableSchema makeFood() {
    TableSchema s;
    s.fileName = QStringLiteral("DIETAB.DBF");
    s.kind = QStringLiteral("une table des aliments");
    s.fields << num("NUMERO", 6, 0) << chr("NOM", 30) << chr("CATEGORIE", 30);
    for (const QString& n : foodNutrientOrder()) s.fields << num(n, kFoodWidth, kFoodDecimals);
    layOut(s.fields);
    s.tags << TagDescription{QStringLiteral("NUMERO"), QStringLiteral("NUMERO"), TagDescription::Kind::Number,
                             TagDescription::Direction::Ascending, QString()}
           << textTag(QStringLiteral("NOM")) << textTag(QStringLiteral("CATEGORIE"));
    // The ranking reads a nutrient tag from its start as the foods richest in
    // the nutrient; foods of equal value come in name order.
    for (const QString& n : nutrientTags())
        s.tags << TagDescription{n, n, TagDescription::Kind::Number, TagDescription::Direction::Descending,
                                 QStringLiteral("NOM")};
    s.defaultTag = QStringLiteral("NOM");
    return s;
}

// A table of lines, each a food with its quantity and the values of that
// quantity: the first field, NOM, CATEGORIE, QTE, then the values in order.
TableSchema makeLines(const QString& fileName, const QString& kind, const DbfField& first,
                      const QStringList& values) {
    TableSchema s;
    s.fileName = fileName;
    s.kind = kind;
    s.fields << first << chr("NOM", 30) << chr("CATEGORIE", 30) << num("QTE", kQteWidth, 0);
    for (const QString& n : values) s.fields << num(n, kLineWidth, kLineDecimals);
    layOut(s.fields);
    return s;
}

TableSchema makeChoice() {
    // The Nutrient record's order, the line's energy after the lipids. No
    // tags: the Choice table has no index file, so that a byte copy of its
    // file is a whole Choice table.
    return makeLines(QStringLiteral("CHOIX.DBF"), QStringLiteral("une table du choix du jour"),
                     num("NUMERO", 6, 0), placedAfter(nutrientFields(), {"CALORIES"}, "LIPI_V"));
}

TableSchema makeComposite() {
    // The Food table's order, the line's energy after the fatty acids.
    TableSchema s = makeLines(QStringLiteral("Alimcomp.DBF"), QStringLiteral("une table des aliments composés"),
                              chr("NOM_COMPO", 30), placedAfter(foodNutrientOrder(), {"CALORIES"}, "A_G_POLY"));
    s.tags << textTag(QStringLiteral("NOM_COMPO")) << textTag(QStringLiteral("NOM"));
    s.defaultTag = QStringLiteral("NOM_COMPO");
    return s;
}

TableSchema makeNeeds() {
    TableSchema s;
    s.fileName = QStringLiteral("BESOINS.DBF");
    s.kind = QStringLiteral("une table des besoins");
    s.fields << chr("NOM", 18);
    for (const char* n : {"E_2_ANS", "E_5_ANS", "E_8_ANS", "F_11_ANS", "G_11_ANS", "F_13_ANS", "G_13_ANS",
                          "F_17_ANS", "G_17_ANS", "F_SEDENT", "H_SEDENT", "F_ENCEINTE", "F_ALLETANT", "F_FORCE",
                          "H_FORCE", "F_VIEILLAR", "H_VIEILLAR"})
        s.fields << num(n, kNeedsWidth, kNeedsDecimals);
    layOut(s.fields);
    return s;
}

TableSchema makePersons() {
    TableSchema s;
    s.fileName = QStringLiteral("PERSONNE.DBF");
    s.fields << chr("NOM", 30) << chr("SEXE", 1) << num("AGE", 3, 0) << num("POIDS", 5, 1)
             << num("TAILLE", 5, 1) << num("PAL", 3, 1) << num("ETAT", 1, 0);
    layOut(s.fields);
    return s;
}

}   // namespace

const QString CategorieComposee = QStringLiteral("PRODUITS COMPOSÉS");

const QVector<Nutrient>& nutrients() {
    static const QVector<Nutrient> list = {
        {"PROT_A", QStringLiteral("protéines d'origine animale"), QStringLiteral("g")},
        {"PROT_V", QStringLiteral("protéines d'origine végétale"), QStringLiteral("g")},
        {"GLUC_S", QStringLiteral("sucre"), QStringLiteral("g")},
        {"GLUC_A", QStringLiteral("amidon"), QStringLiteral("g")},
        {"LIPI_A", QStringLiteral("lipides d'origine animale"), QStringLiteral("g")},
        {"LIPI_V", QStringLiteral("lipides d'origine végétale"), QStringLiteral("g")},
        {"A_G_SAT", QStringLiteral("acides gras saturés"), QStringLiteral("g")},
        {"A_G_MONO", QStringLiteral("acides gras monoinsaturés"), QStringLiteral("g")},
        {"A_G_POLY", QStringLiteral("acides gras polyinsaturés"), QStringLiteral("g")},
        {"CHOLEST", QStringLiteral("cholesterol"), QStringLiteral("mg")},
        {"CA", QStringLiteral("calcium"), QStringLiteral("mg")},
        {"MG", QStringLiteral("magnésium"), QStringLiteral("mg")},
        {"PH", QStringLiteral("phosphore"), QStringLiteral("mg")},
        {"FE", QStringLiteral("fer"), QStringLiteral("mg")},
        {"ZN", QStringLiteral("zinc"), QStringLiteral("mg")},
        {"I", QStringLiteral("iode"), QStringLiteral("mg")},
        {"CL", QStringLiteral("chlore"), QStringLiteral("mg")},
        {"S", QStringLiteral("soufre"), QStringLiteral("mg")},
        {"MN", QStringLiteral("manganèse"), QStringLiteral("mg")},
        {"CU", QStringLiteral("cuivre"), QStringLiteral("mg")},
        {"NA", QStringLiteral("sodium"), QStringLiteral("mg")},
        {"K", QStringLiteral("potassium"), QStringLiteral("mg")},
        {"VIT_A", QStringLiteral("vitamine A"), QStringLiteral("mg")},
        {"VIT_B1", QStringLiteral("vitamine B1"), QStringLiteral("mg")},
        {"VIT_B2", QStringLiteral("vitamine B2"), QStringLiteral("mg")},
        {"VIT_B6", QStringLiteral("vitamine B6"), QStringLiteral("mg")},
        {"VIT_B9", QStringLiteral("vitamine B9"), QStringLiteral("mg")},
        {"VIT_C", QStringLiteral("vitamine C"), QStringLiteral("mg")},
        {"VIT_D", QStringLiteral("vitamine D"), QStringLiteral("mg")},
        {"VIT_PP", QStringLiteral("vitamine PP"), QStringLiteral("mg")},
        {"FIBRES", QStringLiteral("fibres"), QString()},
    };
    return list;
}

const Nutrient* nutrientByField(const QString& field) {
    for (const auto& n : nutrients())
        if (field.compare(QLatin1String(n.field), Qt::CaseInsensitive) == 0) return &n;
    return nullptr;
}

const FieldPresentation* presentationOf(const QString& field) {
    static const QHash<QString, FieldPresentation> table = [] {
        QHash<QString, FieldPresentation> t;
        const QString f3 = QStringLiteral("0.000"), f2 = QStringLiteral("0.00"), f1 = QStringLiteral("0.0"),
                      f4 = QStringLiteral("0.0000");
        auto add = [&](const char* n, const QString& cl, const QString& cf, const QString& ff,
                       const QString& rl, const QString& rf) {
            t.insert(QString::fromLatin1(n), FieldPresentation{cl, cf, ff, rl, rf});
        };
        add("NOM", QStringLiteral("Nom"), QString(), QString(), QStringLiteral("NOM"), QString());
        add("QTE", QStringLiteral("Qté"), QString(), QString(), QString(), QString());
        add("PROT_A", QStringLiteral("Prot. An."), f3, f2, QStringLiteral("PROT.A"), f1);
        add("PROT_V", QStringLiteral("Prot. Vég."), f3, f2, QStringLiteral("PROT.V"), f1);
        add("GLUC_S", QStringLiteral("Gluc. Suc."), f3, f2, QStringLiteral("SUCRE"), f1);
        add("GLUC_A", QStringLiteral("Gluc. Amid."), f3, f2, QStringLiteral("AMIDON"), f1);
        add("LIPI_A", QStringLiteral("Lip. An."), f3, f2, QStringLiteral("LIPI.A"), f1);
        add("LIPI_V", QStringLiteral("Lip. Vég."), f3, f2, QStringLiteral("LIPI.V"), f1);
        add("CALORIES", QStringLiteral("Calories"), QString(), QString(), QString(), QString());
        add("A_G_SAT", QStringLiteral("A.G. Sat."), f3, f2, QStringLiteral("A.G.SAT."), f1);
        add("A_G_MONO", QStringLiteral("A.G. Mono"), f3, f2, QStringLiteral("A.G.MONO"), f1);
        add("A_G_POLY", QStringLiteral("A.G. Poly"), f3, f2, QStringLiteral("A.G.POLY"), f1);
        add("CHOLEST", QStringLiteral("Cholest"), QString(), QString(), QStringLiteral("CHOLEST."), f1);
        add("CA", QStringLiteral("Ca"), f3, f2, QStringLiteral("Calcium"), f3);
        add("MG", QStringLiteral("Mg"), f3, f2, QStringLiteral("Magnésium"), f3);
        add("PH", QStringLiteral("P"), f3, f2, QStringLiteral("Phosphore"), f3);
        add("FE", QStringLiteral("Fe"), f3, f2, QStringLiteral("Fer"), f3);
        add("ZN", QStringLiteral("Zn"), f3, f2, QStringLiteral("Zinc"), f3);
        add("I", QStringLiteral("I"), f3, f2, QStringLiteral("Iode"), f3);
        add("CL", QStringLiteral("Cl"), f3, f2, QStringLiteral("Chlore"), f3);
        add("S", QStringLiteral("S"), f3, f2, QStringLiteral("Soufre"), f3);
        add("MN", QStringLiteral("Mn"), f3, f2, QStringLiteral("Manganèse"), f3);
        add("CU", QStringLiteral("Cu"), f3, f2, QStringLiteral("Cuivre"), f3);
        add("NA", QStringLiteral("Na"), f3, f2, QStringLiteral("Sodium"), f3);
        add("K", QStringLiteral("K"), f3, f2, QStringLiteral("Potassium"), f3);
        add("VIT_A", QStringLiteral("Vit. A"), f3, f2, QStringLiteral("VIT.A"), f3);
        add("VIT_B1", QStringLiteral("Vit. B1"), f3, f2, QStringLiteral("VIT.B1"), f3);
        add("VIT_B2", QStringLiteral("Vit. B2"), f3, f2, QStringLiteral("VIT.B2"), f3);
        add("VIT_B6", QStringLiteral("Vit. B6"), f3, f2, QStringLiteral("VIT.B6"), f3);
        add("VIT_B9", QStringLiteral("Vit. B9"), f3, f2, QStringLiteral("VIT.B9"), f3);
        add("VIT_C", QStringLiteral("Vit. C"), f3, f2, QStringLiteral("VIT.C"), f3);
        add("VIT_D", QStringLiteral("Vit. D"), f4, f4, QStringLiteral("VIT.D"), f3);
        add("VIT_PP", QStringLiteral("Vit. PP"), f3, f2, QStringLiteral("VIT.PP"), f3);
        add("FIBRES", QStringLiteral("FIBRES"), QString(), f2, QStringLiteral("FIBRES"), f1);
        return t;
    }();
    auto it = table.constFind(field.toUpper());
    return it == table.constEnd() ? nullptr : &it.value();
}

namespace {
// The names of a list of named entries, and the entry of a name (letter case
// aside), for the fields and the tags of a schema alike.
template <class List>
QStringList namesOf(const List& list) {
    QStringList names;
    for (const auto& e : list) names << e.name;
    return names;
}
template <class List>
auto findByName(const List& list, const QString& name) -> decltype(&list.front()) {
    for (const auto& e : list)
        if (e.name.compare(name, Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}
}   // namespace

QStringList TableSchema::fieldNames() const { return namesOf(fields); }
const DbfField* TableSchema::field(const QString& name) const { return findByName(fields, name); }
QStringList TableSchema::tagNames() const { return namesOf(tags); }
const TagDescription* TableSchema::tag(const QString& name) const { return findByName(tags, name); }

void TableSchema::checkFile(const DbfFile& file) const {
    const auto numeric = [](char type) { return type == 'N' || type == 'F'; };
    for (const DbfField& sf : fields) {
        const int f = file.fieldIndex(sf.name);
        if (f < 0)
            throw DataError(QStringLiteral("Le fichier %1 n'est pas %2 : il n'a pas le champ %3.")
                                .arg(file.displayName(), kind, sf.name));
        const DbfField& ff = file.fields()[f];
        const bool wantNumber = numeric(sf.type);
        if (wantNumber != numeric(ff.type) || (!wantNumber && ff.type != sf.type))
            throw DataError(
                QStringLiteral("Le fichier %1 n'est pas %2 : son champ %3 devrait "
                               "être %4.")
                    .arg(file.displayName(), kind, sf.name,
                         wantNumber ? QStringLiteral("numérique") : QStringLiteral("de type texte")));
    }
}

namespace {
TableSchema makeNonMesures() {
    TableSchema t;
    t.fileName = QStringLiteral("NONMESUR.DBF");
    t.kind = QStringLiteral("une table des valeurs non mesurées");
    t.fields << *foodSchema().field(QStringLiteral("NUMERO")) << *foodSchema().field(QStringLiteral("NOM"));
    // The nutrients in the Food table's field order, after NUMERO, NOM, CATEGORIE.
    const QVector<DbfField>& food = foodSchema().fields;
    for (int i = 3; i < food.size(); ++i) t.fields << logical(food[i].name);
    layOut(t.fields);
    return t;
}
}   // namespace

namespace {
TableSchema makeOrigins() {
    TableSchema t;
    t.fileName = QStringLiteral("ORIGINES.DBF");
    t.fields << *foodSchema().field(QStringLiteral("NUMERO")) << *foodSchema().field(QStringLiteral("NOM"))
             << chr("SOURCE", 20) << chr("CODE", 10);
    layOut(t.fields);
    return t;
}

TableSchema makeCiqual() {
    TableSchema t;
    t.fileName = QStringLiteral("CIQUAL.DBF");
    // CIQUAL's longest name has 149 characters, its group names 49.
    t.fields << chr("CODE", 6) << chr("NOM", 160) << chr("GRP", 2) << chr("SSGRP", 4) << chr("SSSSGRP", 6)
             << chr("GRP_NOM", 50) << chr("SSGRP_NOM", 50);
    const QVector<DbfField>& food = foodSchema().fields;
    for (int i = 3; i < food.size(); ++i) t.fields << food[i];
    for (int i = 3; i < food.size(); ++i) t.fields << logical(ciqualUnmeasuredField(food[i].name));
    layOut(t.fields);
    return t;
}
}   // namespace

QString ciqualUnmeasuredField(const QString& nutrient) { return QStringLiteral("N_") + nutrient; }

const TableSchema& nonMesuresSchema() {
    static const TableSchema s = makeNonMesures();
    return s;
}
const TableSchema& originsSchema() {
    static const TableSchema s = makeOrigins();
    return s;
}
const TableSchema& ciqualSchema() {
    static const TableSchema s = makeCiqual();
    return s;
}
const TableSchema& foodSchema() {
    static const TableSchema s = makeFood();
    return s;
}
const TableSchema& choiceSchema() {
    static const TableSchema s = makeChoice();
    return s;
}
const TableSchema& compositeSchema() {
    static const TableSchema s = makeComposite();
    return s;
}
const TableSchema& needsSchema() {
    static const TableSchema s = makeNeeds();
    return s;
}
const TableSchema& personsSchema() {
    static const TableSchema s = makePersons();
    return s;
}

const QStringList& nutrientTags() {
    static const QStringList tags = [] {
        QStringList l = nutrientFields();
        l.removeOne(QStringLiteral("FIBRES"));
        return l;
    }();
    return tags;
}

const QStringList& categories() {
    static const QStringList list = {
        QStringLiteral("VIANDES ET VOLAILLES"),
        QStringLiteral("ABATS - CHARCUTERIE"),
        QStringLiteral("POISSONS"),
        QStringLiteral("CRUSTACÉS, COQUILLAGES"),
        QStringLiteral("OEUFS, LAIT, FROMAGES"),
        QStringLiteral("MATIÈRES GRASSES"),
        QStringLiteral("CERÉALES ET DÉRIVÉS"),
        QStringLiteral("LÉGUMES NON FÉCULENTS"),
        QStringLiteral("LÉGUMES FÉCULENTS"),
        QStringLiteral("FRUITS"),
        QStringLiteral("PRODUITS SUCRES,DESSERTS"),
        QStringLiteral("DIVERS (BOISSONS,CONDIMENTS)"),
        QStringLiteral("PRODUITS COMPOSÉS"),
        QStringLiteral("VITAMINES, MINÉRAUX"),
    };
    return list;
}

long double foodEnergyExtended(double protA, double protV, double lipiA, double lipiV, double glucS,
                               double glucA) {
    return 4.0L * protA + 4.0L * protV + 9.0L * lipiA + 9.0L * lipiV + 4.0L * glucS + 4.0L * glucA;
}

double foodEnergy(double protA, double protV, double lipiA, double lipiV, double glucS, double glucA) {
    return static_cast<double>(foodEnergyExtended(protA, protV, lipiA, lipiV, glucS, glucA));
}

const QStringList& choiceNumericFields() {
    static const QStringList list = [] {
        QStringList l;
        for (const auto& f : choiceSchema().fields)
            if (f.type == 'N' && f.name != QLatin1String("NUMERO")) l << f.name;
        return l;
    }();
    return list;
}

const QStringList& lineComputedFields() {
    static const QStringList list = placedAfter(foodNutrientOrder(), {"CALORIES"}, "GLUC_A");
    return list;
}

namespace FileNames {
const QString& choix() { return choiceSchema().fileName; }
const QString& choixVide() {
    static const QString name = QStringLiteral("choix0.dbf");
    return name;
}
const QString& sauvegardeChoix() {
    static const QString name = QStringLiteral("choix.tmp");
    return name;
}
const QString& aide() {
    static const QString name = QStringLiteral("DIETAIDE.HLP");
    return name;
}
}   // namespace FileNames
