// Damaged, foreign and unsuitable table files: each is refused at open with a
// French message naming the file and the problem (or what the file is), and
// its bytes stay as they were.
#include <QFile>
#include <QtTest>

#include "core/compose/compositejournal.h"
#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"
#include "core/table/table.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/testsupport.h"

namespace {

// The small Food table of the fixtures: 34 fields, header 1121 bytes,
// records of 501 bytes, 11 records.
QByteArray goodFoodTable() {
    TempDataDir dir;
    return Files::bytesOf(Fixtures::writeSmallFoodTable(dir.path()));
}

constexpr int kHeader = 32 + 34 * 32 + 1;
constexpr int kRecord = 501;

void put16(QByteArray& b, int at, int v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// Offset of the descriptor of field n (1-based).
int descriptor(int n) { return 32 + 32 * (n - 1); }

}   // namespace

class TestDamaged : public QObject {
    Q_OBJECT
private slots:
    void refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        const QByteArray good = goodFoodTable();
        QCOMPARE(good.size(), kHeader + 11 * kRecord + 1);
        QByteArray b;

        QTest::newRow("empty file")
            << QByteArray()
            << QStringLiteral("il ne fait que 0 octets, moins qu'un en-tête de table dBase (32 octets)");
        QTest::newRow("cut inside the header")
            << good.left(20)
            << QStringLiteral("il ne fait que 20 octets, moins qu'un en-tête de table dBase (32 octets)");
        QTest::newRow("cut inside the descriptors")
            << good.left(500)
            << QStringLiteral("la longueur d'en-tête (1121) dépasse la taille du fichier (500 octets)");
        QTest::newRow("cut inside the records")
            << good.left(kHeader + 5 * kRecord + 10)
            << QStringLiteral(
                   "il est tronqué : l'en-tête annonce 11 enregistrements, soit 6632 "
                   "octets, mais le fichier n'en fait que 3636");

        b = good;
        b[4] = 12;
        QTest::newRow("count larger than the file")
            << b
            << QStringLiteral(
                   "il est tronqué : l'en-tête annonce 12 enregistrements, soit 7133 "
                   "octets, mais le fichier n'en fait que 6633");
        b = good;
        b[7] = '\x7f';
        QTest::newRow("absurd count")
            << b
            << QStringLiteral(
                   "il est tronqué : l'en-tête annonce 2130706443 enregistrements, soit "
                   "1067483929064 octets, mais le fichier n'en fait que 6633");
        b = good;
        b[0] = '\x30';
        QTest::newRow("not dBase III")
            << b << QStringLiteral("ce n'est pas une table dBase III (octet de version 0x30)");
        b = good;
        put16(b, 8, kHeader - 32);
        QTest::newRow("header length short by a field")
            << b << QStringLiteral("la longueur d'en-tête (1089) ne correspond pas aux champs décrits (1121)");
        b = good;
        put16(b, 8, 20);
        QTest::newRow("header length tiny")
            << b << QStringLiteral("la longueur d'en-tête (20) est trop petite pour décrire un champ");
        b = good;
        put16(b, 8, 0xFFFF);
        QTest::newRow("header length past the end")
            << b << QStringLiteral("la longueur d'en-tête (65535) dépasse la taille du fichier (6633 octets)");
        b = good;
        put16(b, 10, kRecord - 1);
        QTest::newRow("record length short")
            << b << QStringLiteral("la longueur d'enregistrement (500) ne correspond pas aux champs (501)");
        b = good;
        put16(b, 10, kRecord + 19);
        QTest::newRow("record length long")
            << b << QStringLiteral("la longueur d'enregistrement (520) ne correspond pas aux champs (501)");
        b = good;
        b[kHeader - 1] = ' ';
        QTest::newRow("no terminator")
            << b << QStringLiteral("la liste des champs n'est pas terminée par l'octet 0x0D");
        b = good;
        b.replace(descriptor(3), 32, QByteArray(32, '\xff'));
        QTest::newRow("garbage descriptor")
            << b << QStringLiteral("la description du champ n° 3 est illisible (nom invalide)");
        b = good;
        b.replace(descriptor(2), 11, QByteArray("NOMNOMNOMNO"));
        QTest::newRow("name not NUL-terminated")
            << b << QStringLiteral("la description du champ n° 2 est illisible (nom invalide)");
        b = good;
        b[descriptor(2)] = '\0';
        QTest::newRow("empty name") << b
                                    << QStringLiteral(
                                           "la description du champ n° 2 est illisible (nom invalide)");
        b = good;
        b[descriptor(2) + 11] = 'X';
        QTest::newRow("unknown type") << b << QStringLiteral("le champ NOM a un type inconnu (« X »)");
        b = good;
        b[descriptor(2) + 11] = 'M';
        QTest::newRow("memo field") << b << QStringLiteral("le champ NOM a un type inconnu (« M »)");
        b = good;
        b[descriptor(2) + 16] = 0;
        QTest::newRow("zero width") << b << QStringLiteral("le champ NOM a une largeur nulle");
        b = good;
        b[descriptor(4) + 16] = static_cast<char>(200);
        QTest::newRow("numeric too wide")
            << b << QStringLiteral("le champ numérique PROT_A a une largeur de 200 caractères, trop grande");
        b = good;
        b[descriptor(4) + 17] = 14;
        QTest::newRow("decimals fill the width")
            << b << QStringLiteral("le champ PROT_A a 14 décimales pour une largeur de 14");
        b = good;
        b.replace(descriptor(5), 6, QByteArray("PROT_A"));
        QTest::newRow("field twice") << b << QStringLiteral("le champ PROT_A est décrit deux fois");
        b = good.left(32);
        b.append('\x0d');
        put16(b, 8, 33);
        put16(b, 10, 1);
        b[4] = 0;
        QTest::newRow("no field") << b
                                  << QStringLiteral(
                                         "la longueur d'en-tête (33) est trop petite pour décrire un champ");
    }

    void refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        const QString expected = QStringLiteral("Le fichier DIETAB.DBF est endommagé : %1.").arg(problem);

        // In memory.
        EXPECT_DATA_ERROR(Equals, expected, DbfFile::fromBytes(bytes, QStringLiteral("DIETAB.DBF")));

        // On disk, through a table handle: same message, file untouched.
        TempDataDir dir;
        const QString path = dir.file(QStringLiteral("DIETAB.DBF"));
        QVERIFY(Files::writeBytes(path, bytes));
        Table t(dir.run(), foodSchema());
        EXPECT_DATA_ERROR(Equals, expected, t.open());
        QVERIFY(!t.isOpen());
        QCOMPARE(Files::bytesOf(path), bytes);
    }

    // What other programs legitimately leave: no end mark, junk after the
    // last record, an uncounted record after a crash, NUL-padded texts.
    void tolerated_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        const QByteArray good = goodFoodTable();
        QTest::newRow("as written") << good << 11;
        QTest::newRow("no end mark") << good.left(good.size() - 1) << 11;
        QTest::newRow("junk after the records") << good + QByteArray(37, '\x55') << 11;
        QByteArray b = good;
        b[4] = 10;
        QTest::newRow("uncounted last record") << b << 10;
        b = good;
        b.replace(kHeader + 1 + 6 + 7, 23, QByteArray(23, '\0'));
        QTest::newRow("NUL padding") << b << 11;
    }
    void tolerated() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        TempDataDir dir;
        const QString path = dir.file(QStringLiteral("DIETAB.DBF"));
        QVERIFY(Files::writeBytes(path, bytes));
        Table t(dir.run(), foodSchema());
        t.setIndexName(QString());
        t.open();
        QCOMPARE(t.recordCount(), count);
        QCOMPARE(t.asString(QStringLiteral("NOM")), QTest::currentDataTag() == QByteArray("NUL padding")
                                                        ? QStringLiteral("Poulet,")
                                                        : QStringLiteral("Poulet, rôti"));
        t.close();
        QCOMPARE(Files::bytesOf(path), bytes);
    }

    // A sound file that is not the table the program expects.
    void unsuitable_data() {
        QTest::addColumn<QString>("drop");
        QTest::addColumn<QString>("retype");
        QTest::addColumn<QString>("message");
        const QString notFood = QStringLiteral("Le fichier DIETAB.DBF n'est pas une table des aliments : ");
        QTest::newRow("missing name") << QStringLiteral("NOM") << QString()
                                      << notFood + QStringLiteral("il n'a pas le champ NOM.");
        QTest::newRow("missing category") << QStringLiteral("CATEGORIE") << QString()
                                          << notFood + QStringLiteral("il n'a pas le champ CATEGORIE.");
        QTest::newRow("missing nutrient")
            << QStringLiteral("VIT_D") << QString() << notFood + QStringLiteral("il n'a pas le champ VIT_D.");
        QTest::newRow("name stored as a number")
            << QString() << QStringLiteral("NOM")
            << notFood + QStringLiteral("son champ NOM devrait être de type texte.");
        QTest::newRow("number stored as text")
            << QString() << QStringLiteral("FE")
            << notFood + QStringLiteral("son champ FE devrait être numérique.");
    }
    void unsuitable() {
        QFETCH(QString, drop);
        QFETCH(QString, retype);
        QFETCH(QString, message);
        TempDataDir dir;
        QVector<DbfField> fields;
        for (DbfField f : foodSchema().fields) {
            if (f.name == drop) continue;
            if (f.name == retype) {
                f.type = f.type == 'C' ? 'N' : 'C';
                f.length = 12;
                f.decimals = 0;
            }
            fields << f;
        }
        const QString path = dir.file(QStringLiteral("DIETAB.DBF"));
        DbfFile::create(path, fields);
        const QByteArray before = Files::bytesOf(path);
        Table t(dir.run(), foodSchema());
        EXPECT_DATA_ERROR(Equals, message, t.open());
        QVERIFY(!t.isOpen());
        // The start-up's reading of the composite foods says the same.
        Fixtures::createEmpty(compositeSchema(), dir.path());
        EXPECT_DATA_ERROR(Equals, message, CompositeJournal::orphelins(dir.run()));
        QCOMPARE(Files::bytesOf(path), before);
    }

    // Sound tables of other dBase programs: named, with how to make them
    // readable, and never written to.
    void foreignFormat_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("what");
        const QByteArray good = goodFoodTable();
        auto version = [&good](char v) {
            QByteArray b = good;
            b[0] = v;
            return b;
        };
        QByteArray b = version('\x30');
        b.insert(kHeader, QByteArray(263, '\0'));   // the backlink after the field list
        put16(b, 8, kHeader + 263);
        QTest::newRow("Visual FoxPro") << b << "une table Visual FoxPro";
        b = version('\x8B');
        b[descriptor(2) + 11] = 'M';
        QTest::newRow("dBase IV with memo") << b << "une table dBase IV avec mémo";
        b[0] = '\x83';
        QTest::newRow("dBase III with memo") << b << "une table dBase III avec mémo";
        QTest::newRow("FoxPro with memo") << version('\xF5') << "une table FoxPro avec mémo";
        QTest::newRow("FoxBASE") << version('\x02') << "une table FoxBASE";
        QTest::newRow("dBase 7") << version('\x04') << "une table dBase 7";
        QTest::newRow("dBase 7 with memo") << version('\x8C') << "une table dBase 7 avec mémo";
    }
    void foreignFormat() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, what);
        TempDataDir dir;
        const QString path = dir.file(QStringLiteral("DIETAB.DBF"));
        QVERIFY(Files::writeBytes(path, bytes));
        Table t(dir.run(), foodSchema());
        EXPECT_DATA_ERROR(Equals,
                          QStringLiteral("Le fichier DIETAB.DBF est %1, que Nutrimo ne sait pas lire : "
                                         "il ne lit que les tables dBase III sans mémo. Ouvrez ce "
                                         "fichier dans le programme qui l'a écrit et enregistrez-le "
                                         "au format dBase III. Le fichier n'a pas été modifié.")
                              .arg(what),
                          t.open());
        QCOMPARE(Files::bytesOf(path), bytes);
    }

    // Widths may differ from the schema (files written by other programs):
    // the file's widths are used for reading and writing.
    void otherWidths() {
        TempDataDir dir;
        QVector<DbfField> fields = choiceSchema().fields;
        for (DbfField& f : fields) {
            if (f.name == QLatin1String("NOM")) f.length = 12;
            if (f.name == QLatin1String("QTE")) {
                f.type = 'F';
                f.length = 5;
                f.decimals = 1;
            }
        }
        DbfFile::create(dir.file(QStringLiteral("CHOIX.DBF")), fields);
        Table t(dir.run(), choiceSchema());
        t.open();
        t.append();
        t.setString(QStringLiteral("NOM"), QStringLiteral("Haricots verts, cuits"));
        t.setFloat(QStringLiteral("QTE"), 250);
        QVERIFY_THROWS_EXCEPTION(DataError, t.setFloat(QStringLiteral("QTE"), 1000));
        t.post();
        t.close();
        t.open();
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Haricots ve"
                                                                   "r"));
        QCOMPARE(t.asFloat(QStringLiteral("QTE")), 250.0);
    }

    void missingFile() {
        TempDataDir dir;
        Table t(dir.run(), foodSchema());
        EXPECT_DATA_ERROR(Equals,
                          QStringLiteral("Impossible d'ouvrir le fichier DIETAB.DBF : fichier introuvable."),
                          t.open());
        QVERIFY(!QFile::exists(dir.file(QStringLiteral("DIETAB.DBF"))));
    }
};

QTEST_GUILESS_MAIN(TestDamaged)
#include "tst_damaged.moc"
