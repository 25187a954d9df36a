// The table builder as the build runs it: reproducible output that an
// independent dBase reader accepts, bad source rows refused with a message
// naming the row and nothing written, and the full CIQUAL import.
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#include "ciqualtable.h"
#include "core/dbf/collation.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "foodlist.h"
#include "fullimport.h"
#include "support/files.h"
#include "suppliedtables.h"
#include "support/testsupport.h"

namespace {

const QString kDataDir = QStringLiteral(NUTRIMO_SOURCE_DIR "/data");
const QStringList kTables = {"DIETAB.DBF", "NONMESUR.DBF", "ORIGINES.DBF", "BESOINS.DBF",
                             "CHOIX.DBF",  "choix0.dbf",   "Alimcomp.DBF", "CIQUAL.DBF"};

struct Run {
    int exitCode = -1;
    QString out, err;
};

Run runBuilder(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(NUTRIMO_BUILDTABLES), args);
    Run r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A data directory with the given foods.csv and needs.csv texts and the real
// CIQUAL and EFSA sources.
bool makeDataDir(const QString& dir, const QString& foods, const QString& needs) {
    return Files::writeBytes(QDir(dir).filePath("foods.csv"), foods.toUtf8()) &&
           Files::writeBytes(QDir(dir).filePath("needs.csv"), needs.toUtf8()) &&
           QFile::link(kDataDir + "/sources", QDir(dir).filePath("sources"));
}

QStringList sourceLines(const QString& name) {
    return QString::fromUtf8(Files::bytesOf(kDataDir + "/" + name)).split('\n');
}

}   // namespace

class TestBuildTables : public QObject {
    Q_OBJECT
private slots:
    void reproducible();
    void readableByDbfread();
    void badFoodRows_data();
    void badFoodRows();
    void badNeedsRowStopsTheBuild();
    void usage();
    void fullCiqualImport();
};

void TestBuildTables::reproducible() {
    QTemporaryDir a, b;
    QElapsedTimer timer;
    timer.start();
    const Run first = runBuilder({"--donnees", kDataDir, "--sortie", a.path()});
    const qint64 ms = timer.elapsed();
    QVERIFY2(first.exitCode == 0, qPrintable(first.err));
    const Run second = runBuilder({"--donnees", kDataDir, "--sortie", b.path()});
    QVERIFY2(second.exitCode == 0, qPrintable(second.err));
    qInfo("Tables fournies construites en %lld ms", ms);
    for (const QString& t : kTables) {
        const QByteArray bytes = Files::bytesOf(a.filePath(t));
        QVERIFY2(!bytes.isEmpty(), qPrintable(t));
        QVERIFY2(bytes == Files::bytesOf(b.filePath(t)), qPrintable(t));
        QVERIFY2(bytes == Files::bytesOf(Fixtures::suppliedTablesDir() + "/" + t), qPrintable(t));
        // Header date: the CIQUAL 2020 publication, 2020-07-07.
        QCOMPARE(int(bytes.at(1)), 120);
        QCOMPARE(int(bytes.at(2)), 7);
        QCOMPARE(int(bytes.at(3)), 7);
    }
    QCOMPARE(QDir(a.path()).entryList(QDir::Files).size(), kTables.size());
    // The tables of the Base foods are those of every earlier build: moving
    // the builder's rules into the program's core changed no byte.
    const QHash<QString, QByteArray> known = {
        {"DIETAB.DBF", "bc3821928f7104ac1c3d6023c413f0ce3689f6df48b34a09de6e50f5908f79ff"},
        {"NONMESUR.DBF", "218cd8cb61c355cf170664fc33a6d7ae3de57173a3abbbea416ec09ced2af384"}};
    for (auto it = known.begin(); it != known.end(); ++it)
        QVERIFY2(QCryptographicHash::hash(Files::bytesOf(a.filePath(it.key())), QCryptographicHash::Sha256)
                         .toHex() == it.value(),
                 qPrintable(it.key()));
    // choix0.dbf is the empty Choice table, byte for byte.
    QCOMPARE(Files::bytesOf(a.filePath("choix0.dbf")), Files::bytesOf(a.filePath("CHOIX.DBF")));
}

void TestBuildTables::readableByDbfread() {
    const QString script = QStringLiteral(
        "import dbfread, json, sys\n"
        "out = {}\n"
        "for name in sys.argv[2:]:\n"
        "    t = dbfread.DBF(sys.argv[1] + '/' + name, encoding='cp1252', char_decode_errors='strict')\n"
        "    out[name] = {'fields': [[f.name, f.type, f.length, f.decimal_count] for f in t.fields],\n"
        "                 'records': [r for r in t]}\n"
        "print(json.dumps(out))\n");
    QProcess p;
    p.start("/usr/bin/python3", QStringList{"-c", script, Fixtures::suppliedTablesDir()} + kTables);
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    const QJsonObject all = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    const QVector<const TableSchema*> schemas = {
        &foodSchema(),   &UnmeasuredTable::schema(), &originsSchema(), &needsSchema(), &choiceSchema(),
        &choiceSchema(), &compositeSchema(),         &ciqualSchema()};
    for (int i = 0; i < kTables.size(); ++i) {
        const QJsonArray fields = all.value(kTables.at(i)).toObject().value("fields").toArray();
        QCOMPARE(fields.size(), schemas.at(i)->fields.size());
        for (int f = 0; f < fields.size(); ++f) {
            const QJsonArray d = fields.at(f).toArray();
            const DbfField& expected = schemas.at(i)->fields.at(f);
            QCOMPARE(d.at(0).toString(), expected.name);
            QCOMPARE(d.at(1).toString(), QString(QChar(expected.type)));
            QCOMPARE(d.at(2).toInt(), expected.length);
            QCOMPARE(d.at(3).toInt(), expected.decimals);
        }
    }
    auto records = [&](const char* table) { return all.value(table).toObject().value("records").toArray(); };
    QCOMPARE(records("CHOIX.DBF").size(), 0);
    QCOMPARE(records("Alimcomp.DBF").size(), 0);
    QCOMPARE(records("BESOINS.DBF").size(), 29);
    QCOMPARE(records("CIQUAL.DBF").size(), 3185);

    // The Base foods and their side table, as the builder's rules make them.
    const CiqualTable ciqual = CiqualTable::read(kDataDir + "/sources/ciqual-2020.csv");
    const QVector<BaseFood> foods = FoodList::read(kDataDir + "/foods.csv", ciqual);
    const BaseFoodTables expected = SuppliedTables::baseFoods(foods, ciqual);
    const QJsonArray dietab = records("DIETAB.DBF");
    QCOMPARE(dietab.size(), foods.size());
    for (int r = 0; r < dietab.size(); ++r) {
        const QJsonObject rec = dietab.at(r).toObject();
        QCOMPARE(rec.value("NUMERO").toInt(), foods.at(r).numero);
        QCOMPARE(rec.value("NOM").toString(), foods.at(r).nom);   // accents read back unchanged
        QCOMPARE(rec.value("CATEGORIE").toString(), foods.at(r).categorie);
        QVERIFY2(qAbs(rec.value("CL").toDouble() - expected.foods.at(r).value("CL").toDouble()) < 5e-7,
                 qPrintable(foods.at(r).nom));
    }
    // Rows taken from other CIQUAL foods, and chloride estimated from sodium.
    QCOMPARE(dietab.at(48).toObject().value("NOM").toString(), QStringLiteral("Sole, poêlée"));
    QCOMPARE(dietab.at(48).toObject().value("CL").toDouble(), 228.0);   // measured by CIQUAL
    QCOMPARE(dietab.at(58).toObject().value("NOM").toString(), QStringLiteral("Raie, cuite au four"));
    const QJsonObject mustard = dietab.at(221).toObject();
    QCOMPARE(mustard.value("NOM").toString(), QStringLiteral("Moutarde"));
    // As CIQUAL gives chloride: whole milligrams above 100 mg.
    QCOMPARE(mustard.value("CL").toDouble(), std::round(mustard.value("NA").toDouble() * 35.45 / 22.99));
    QVERIFY(mustard.value("CL").toDouble() > 2800);

    const QJsonArray side = records("NONMESUR.DBF");
    QCOMPARE(side.size(), expected.unmeasured.size());
    for (int r = 0; r < side.size(); ++r) {
        const QJsonObject rec = side.at(r).toObject();
        const TableRecord& want = expected.unmeasured.at(r);
        QCOMPARE(rec.value("NUMERO").toInt(), want.value("NUMERO").toInt());
        QCOMPARE(rec.value("NOM").toString(), want.value("NOM").toString());
        for (const Nutrient& n : nutrients()) {
            const QJsonValue flag = rec.value(QLatin1String(n.field));
            QVERIFY2(flag.isBool(), n.field);   // a logical field, read as true or false
            QCOMPARE(flag.toBool(), want.value(QLatin1String(n.field)).toBool());
        }
    }
}

void TestBuildTables::badFoodRows_data() {
    QTest::addColumn<int>("line");    // line of foods.csv to change
    QTest::addColumn<int>("field");   // -1 removes the line
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown CIQUAL code") << 5 << 3 << "99999"
                                         << "foods.csv:5 : code CIQUAL inconnu « 99999 »";
    QTest::newRow("CIQUAL code used twice") << 5 << 3 << "6200"
                                            << "foods.csv:5 : le code CIQUAL 6200 est déjà celui de la ligne 2";
    QTest::newRow("name too long") << 7 << 1 << "Boeuf, steak haché à 15 % de matières grasses"
                                   << "foods.csv:7 : le nom « Boeuf, steak haché à 15 % de matières grasses » "
                                      "a 45 caractères (30 au plus)";
    QTest::newRow("duplicate name")
        << 10 << 1 << "Boeuf, steak grillé"
        << "foods.csv:10 : le nom « Boeuf, steak grillé » est déjà celui de la ligne 2";
    QTest::newRow("duplicate name, other case") << 10 << 1 << "BOEUF, STEAK GRILLÉ"
                                                << "est déjà celui de la ligne 2";
    QTest::newRow("name with outer blank") << 10 << 1 << " Veau"
                                           << "foods.csv:10 : le nom «  Veau » commence ou finit par un blanc";
    QTest::newRow("name outside cp1252") << 10 << 1 << QString::fromUtf8("Veau ★")
                                         << "foods.csv:10 : le nom « Veau ★ » contient un caractère hors";
    QTest::newRow("duplicate number") << 10 << 0 << "1"
                                      << "foods.csv:10 : le numéro 1 est déjà celui de la ligne 2";
    QTest::newRow("number out of range") << 10 << 0 << "234"
                                         << "foods.csv:10 : numéro « 234 » invalide";
    QTest::newRow("missing number") << 50 << -1 << ""
                                    << "foods.csv : aucun aliment ne porte le numéro 49";
    QTest::newRow("unknown category") << 12 << 2 << "VIANDES"
                                      << "foods.csv:12 : catégorie inconnue « VIANDES »";
    QTest::newRow("composite category")
        << 12 << 2 << "13"
        << "foods.csv:12 : un aliment de base ne peut pas être de la catégorie « PRODUITS COMPOSÉS »";
    QTest::newRow("share above one") << 20 << 4 << "1,5"
                                     << "foods.csv:20 : part animale des protéines « 1,5 » invalide";
    QTest::newRow("share not a number") << 20 << 5 << "oui"
                                        << "foods.csv:20 : part animale des lipides « oui » invalide";
    QTest::newRow("missing field") << 20 << 6 << "REMOVE"
                                   << "foods.csv:20 : 6 champs au lieu de 7";
}

void TestBuildTables::badFoodRows() {
    QFETCH(int, line);
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const QStringList lines = Fixtures::editCsvLine(sourceLines("foods.csv"), line, field, text);
    QTemporaryDir data, out;
    QVERIFY(makeDataDir(data.path(), lines.join('\n'), sourceLines("needs.csv").join('\n')));
    const Run r = runBuilder({"--donnees", data.path(), "--sortie", out.path()});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.startsWith("buildtables : ") && r.err.contains(message), qPrintable(r.err));
    QVERIFY2(QDir(out.path()).entryList(QDir::Files).isEmpty(), "a table was written");
}

void TestBuildTables::badNeedsRowStopsTheBuild() {
    const QStringList needs =
        Fixtures::editCsvLine(sourceLines("needs.csv"), 42, 5, QStringLiteral("L2 * 0.6"));
    QTemporaryDir data, out;
    QVERIFY(makeDataDir(data.path(), sourceLines("foods.csv").join('\n'), needs.join('\n')));
    const Run r = runBuilder({"--donnees", data.path(), "--sortie", out.path()});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("needs.csv:42 : valeur écrite"), qPrintable(r.err));
    QVERIFY(QDir(out.path()).entryList(QDir::Files).isEmpty());
}

void TestBuildTables::usage() {
    QCOMPARE(runBuilder({}).exitCode, 2);
    QTemporaryDir out;
    QCOMPARE(runBuilder({"--sortie", out.path(), "--recalculer-besoins"}).exitCode, 2);
    const Run missing = runBuilder({"--donnees", out.path() + "/absent", "--sortie", out.path()});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY2(missing.err.contains("ciqual-2020.csv : lecture impossible"), qPrintable(missing.err));
    // needs.csv holds the values its formulas give: recomputing changes nothing.
    const Run recomputed = runBuilder({"--donnees", kDataDir, "--recalculer-besoins"});
    QCOMPARE(recomputed.exitCode, 0);
    QCOMPARE(recomputed.out, sourceLines("needs.csv").join('\n'));
}

void TestBuildTables::fullCiqualImport() {
    QTemporaryDir out;
    const QString path = out.filePath("CIQUAL.DBF");
    QElapsedTimer timer;
    timer.start();
    const Run r = runBuilder({"--donnees", kDataDir, "--ciqual-complet", path});
    const qint64 ms = timer.elapsed();
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    qInfo("Import complet de CIQUAL en %lld ms : %s", ms, qPrintable(r.out.trimmed()));
    const auto table = DbfFile::open(path, true);
    QCOMPARE(table->recordCount(), 3185);
    const int numero = table->fieldIndex("NUMERO"), nom = table->fieldIndex("NOM"),
              cat = table->fieldIndex("CATEGORIE"), lipiV = table->fieldIndex("LIPI_V");
    QSet<QString> names;
    int bran = -1;
    for (int i = 0; i < table->recordCount(); ++i) {
        QCOMPARE(table->number(i, numero), double(i + 1));
        const QString name = table->text(i, nom);
        QVERIFY2(!name.isEmpty() && name.size() <= 30 && name == name.trimmed(), qPrintable(name));
        QVERIFY2(!names.contains(name.toCaseFolded()), qPrintable(name));
        names.insert(name.toCaseFolded());
        const QString category = table->text(i, cat);
        QVERIFY2(categories().contains(category) && category != CategorieComposee, qPrintable(category));
        if (name == QStringLiteral("Son de blé")) bran = i;
    }
    // Wheat bran is given on two CIQUAL lines; it is one food with both halves.
    QVERIFY(bran >= 0);
    QCOMPARE(table->number(bran, lipiV), 4.35);
    // The name rules and the categories, now the program's own, give the
    // same table as before they moved.
    QCOMPARE(QCryptographicHash::hash(Files::bytesOf(path), QCryptographicHash::Sha256).toHex(),
             QByteArray("11a647e49134fe37c286de8520d74bf43931ed93c38b833d137b24773626d77f"));

    // The whole table the program reads: the same foods with the same
    // values, CIQUAL's own names and codes, in name order; and the Base
    // foods' codes in ORIGINES.DBF.
    const CiqualTable source = CiqualTable::read(kDataDir + "/sources/ciqual-2020.csv");
    const QVector<ImportedFood> imported = FullImport::build(source);
    QHash<QString, int> importedRow;
    for (const ImportedFood& f : imported) importedRow.insert(f.source->code, f.numero - 1);
    const auto ciqual = DbfFile::open(Fixtures::ciqualTable(), true);
    QCOMPARE(ciqual->recordCount(), table->recordCount());
    const int code = ciqual->fieldIndex("CODE"), full = ciqual->fieldIndex("NOM");
    QSet<QString> codes;
    QByteArray previous;
    for (int i = 0; i < ciqual->recordCount(); ++i) {
        codes.insert(ciqual->text(i, code));
        const int row = importedRow.value(ciqual->text(i, code), -1);
        QVERIFY(row >= 0);
        QCOMPARE(ciqual->text(i, full), imported.at(row).source->name);
        const QByteArray key = Collation::key(ciqual->text(i, full));
        QVERIFY(Collation::compare(previous, key) <= 0);
        previous = key;
        for (const Nutrient& n : nutrients()) {
            const QString field = QString::fromLatin1(n.field);
            QCOMPARE(ciqual->number(i, ciqual->fieldIndex(field)),
                     table->number(row, table->fieldIndex(field)));
        }
    }
    QCOMPARE(codes.size(), 3185);
    const auto origins = DbfFile::open(Fixtures::suppliedTablesDir() + "/ORIGINES.DBF", true);
    QCOMPARE(origins->recordCount(), 233);
    for (int i = 0; i < origins->recordCount(); ++i) {
        QCOMPARE(origins->text(i, origins->fieldIndex("SOURCE")), QStringLiteral("CIQUAL 2020"));
        QVERIFY(codes.contains(origins->text(i, origins->fieldIndex("CODE"))));
    }
}

QTEST_GUILESS_MAIN(TestBuildTables)
#include "tst_buildtables.moc"
