// The dBase codec on its own: cp1252 both ways, numbers written and read,
// texts read back exactly, and the bytes of the files it writes.
#include <QFile>
#include <QtTest>

#include "core/io/dataerror.h"
#include "core/dbf/collation.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/recordbuilder.h"
#include "support/testsupport.h"

namespace {

DbfField field(const char* name, char type, int length, int decimals = 0) {
    DbfField f;
    f.name = QString::fromLatin1(name);
    f.type = type;
    f.length = length;
    f.decimals = decimals;
    return f;
}

// A small table: QTE N(11,0), NOM C(10), VAL N(8,3).
QString smallTable(const QString& dir) {
    const QString path = dir + QStringLiteral("/T.DBF");
    DbfFile::create(path, {field("QTE", 'N', 11), field("NOM", 'C', 10), field("VAL", 'N', 8, 3)}, nullptr,
                    2021, 6, 30);
    return path;
}

}   // namespace

class TestCodec : public QObject {
    Q_OBJECT
private slots:
    void everyByteRoundTrips() {
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b) all[b] = static_cast<char>(b);
        const QString text = Cp1252::decode(all);
        QCOMPARE(text.size(), 256);
        QVERIFY(Cp1252::canEncode(text));
        QCOMPARE(Cp1252::encode(text), all);
        QCOMPARE(text.at(0x80), QChar(0x20AC));   // €
        QCOMPARE(text.at(0x9C), QChar(0x0153));   // œ
        QCOMPARE(text.at(0xC9), QChar(0x00C9));   // É
    }

    void unencodable_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("macron") << QStringLiteral("Ānanas") << QStringLiteral("Ā");
        QTest::newRow("emoji") << QStringLiteral("Pomme 😀") << QStringLiteral("😀");
        QTest::newRow("C1 control without byte") << QStringLiteral("a\u0080b") << QStringLiteral("\u0080");
        QTest::newRow("cyrillic") << QStringLiteral("борщ") << QStringLiteral("б");
    }
    void unencodable() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QVERIFY(!Cp1252::canEncode(text));
        TempDataDir dir;
        auto file = DbfFile::open(smallTable(dir.path()));
        EXPECT_DATA_ERROR(Contains, QStringLiteral("« %1 »").arg(shown), file->encodeText(1, text));
        EXPECT_DATA_ERROR(Contains, QLatin1String("NOM"), file->encodeText(1, text));
    }

    void encodeText() {
        TempDataDir dir;
        auto file = DbfFile::open(smallTable(dir.path()));
        QCOMPARE(file->encodeText(1, QStringLiteral("€uro œuf")), QByteArray("\x80uro \x9c"
                                                                             "uf  "));
        QCOMPARE(file->encodeText(1, QStringLiteral("  gauche")), QByteArray("  gauche  "));
        // Cut to the field's size; a character past the cut does not matter.
        QCOMPARE(file->encodeText(1, QStringLiteral("abcdefghijkĀ")), QByteArray("abcdefghij"));
    }

    void encodeNumber_data() {
        QTest::addColumn<int>("fieldIndex");
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("integer") << 0 << 250.0 << QByteArray("        250");
        QTest::newRow("half away from zero") << 0 << 2.5 << QByteArray("          3");
        QTest::newRow("decimals padded") << 2 << 1.5 << QByteArray("   1.500");
        QTest::newRow("decimals rounded") << 2 << 0.12345 << QByteArray("   0.123");
        QTest::newRow("negative") << 2 << -12.25 << QByteArray(" -12.250");
        QTest::newRow("negative zero unsigned") << 2 << -0.0001 << QByteArray("   0.000");
        QTest::newRow("exactly full") << 2 << 9999.999 << QByteArray("9999.999");
        QTest::newRow("widest integer") << 0 << 99999999999.0 << QByteArray("99999999999");
    }
    void encodeNumber() {
        QFETCH(int, fieldIndex);
        QFETCH(double, value);
        QFETCH(QByteArray, bytes);
        TempDataDir dir;
        auto file = DbfFile::open(smallTable(dir.path()));
        QCOMPARE(file->encodeNumber(fieldIndex, value), bytes);
    }

    void numberRefused_data() {
        QTest::addColumn<int>("fieldIndex");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("too wide integer")
            << 0 << 123456789012.0
            << QStringLiteral("La valeur 123456789012 ne tient pas dans le champ QTE (11 caractères).");
        QTest::newRow("too wide with decimals")
            << 2 << 10000.0 << QStringLiteral("La valeur 10000 ne tient pas dans le champ VAL (8 caractères).");
        QTest::newRow("negative overflow")
            << 2 << -1000.0 << QStringLiteral("La valeur -1000 ne tient pas dans le champ VAL (8 caractères).");
        QTest::newRow("not a number") << 2 << std::nan("")
                                      << QStringLiteral("La valeur donnée au champ VAL n'est pas un nombre.");
        QTest::newRow("text field") << 1 << 1.0 << QStringLiteral("Le champ NOM n'est pas numérique.");
    }
    void numberRefused() {
        QFETCH(int, fieldIndex);
        QFETCH(double, value);
        QFETCH(QString, message);
        TempDataDir dir;
        auto file = DbfFile::open(smallTable(dir.path()));
        EXPECT_DATA_ERROR(Equals, message, file->encodeNumber(fieldIndex, value));
    }

    void readNumber_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<double>("value");
        QTest::newRow("blank") << QByteArray("        ") << 0.0;
        QTest::newRow("right aligned") << QByteArray("  12.500") << 12.5;
        QTest::newRow("left aligned") << QByteArray("12.5    ") << 12.5;
        QTest::newRow("decimal comma") << QByteArray("   3,25 ") << 3.25;
        QTest::newRow("negative") << QByteArray("  -0.125") << -0.125;
        QTest::newRow("NUL padded") << QByteArray("7\0\0\0\0\0\0\0", 8) << 7.0;
        QTest::newRow("overflow stars") << QByteArray("********") << 0.0;
        QTest::newRow("garbage") << QByteArray("  12ab  ") << 0.0;
        QTest::newRow("exponent") << QByteArray("  1.5E+2") << 150.0;
        QTest::newRow("no leading digit") << QByteArray("    .375") << 0.375;
    }
    void readNumber() {
        QFETCH(QByteArray, bytes);
        QFETCH(double, value);
        QCOMPARE(DbfFile::parseNumber(bytes.constData(), bytes.size()), value);
    }

    // "The field equals this text", as searches and filters compare: the
    // trailing padding of both aside, letter case aside only when asked,
    // accents and leading blanks always counting.
    void fieldEqualsText_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("caseBlind");
        QTest::addColumn<bool>("equal");
        QTest::newRow("trailing blanks of both") << QByteArray("Pomme     ") << "Pomme  " << false << true;
        QTest::newRow("NUL padding") << QByteArray("Pomme\0\0\0\0\0", 10) << "Pomme" << false << true;
        QTest::newRow("leading blank counts") << QByteArray(" Pomme    ") << "Pomme" << false << false;
        QTest::newRow("case counts") << QByteArray("pomme     ") << "Pomme" << false << false;
        QTest::newRow("case aside") << QByteArray("pomme     ") << "POMME" << true << true;
        QTest::newRow("accented capital aside")
            << QByteArray("\xC9t\xE9     ") << QString::fromUtf8("été") << true << true;
        QTest::newRow("accent counts") << QByteArray("ete       ") << QString::fromUtf8("été") << true << false;
        QTest::newRow("prefix only") << QByteArray("Pommes    ") << "Pomme" << true << false;
        QTest::newRow("not cp1252") << QByteArray("?         ") << QString::fromUtf8("\u4E2D") << true << false;
        QTest::newRow("blank equals blank") << QByteArray("          ") << "" << false << true;
    }
    void fieldEqualsText() {
        QFETCH(QByteArray, field);
        QFETCH(QString, text);
        QFETCH(bool, caseBlind);
        QFETCH(bool, equal);
        QCOMPARE(Collation::TextEquality(text, caseBlind).matches(field.constData(), field.size()), equal);
    }

    // Values written then read back through a reopened file: texts exactly
    // (leading blanks kept, trailing ones dropped), numbers exactly at the
    // field's precision.
    void roundTrip() {
        TempDataDir dir;
        const QString path = smallTable(dir.path());
        const QStringList texts = {QStringLiteral("  Ça"), QStringLiteral("Œuf €"), QStringLiteral("é\"'\\;"),
                                   QString()};
        {
            auto file = DbfFile::open(path);
            for (int i = 0; i < texts.size(); ++i)
                file->writeRecord(i, RecordBuilder(*file)
                                         .set("QTE", i * 1000.0)
                                         .set("NOM", texts[i])
                                         .set("VAL", 0.001 * (i + 1))
                                         .bytes());
            file->setDeleted(2, true);
        }
        auto file = DbfFile::open(path);
        QCOMPARE(file->recordCount(), texts.size());
        for (int i = 0; i < texts.size(); ++i) {
            QCOMPARE(file->text(i, 1), texts[i]);
            QCOMPARE(file->number(i, 0), i * 1000.0);
            QCOMPARE(file->number(i, 2), 0.001 * (i + 1));
            QCOMPARE(file->isDeleted(i), i == 2);
        }
    }

    // The header as written, and what writes change in it: the count, the
    // end mark, never the date.
    void fileBytes() {
        TempDataDir dir;
        const QString path = smallTable(dir.path());
        const QByteArray empty = Files::bytesOf(path);
        QCOMPARE(empty.size(), 32 + 3 * 32 + 1 + 1);
        QCOMPARE(empty.at(0), '\x03');
        QCOMPARE(empty.mid(1, 3), QByteArray("\x79\x06\x1e"));   // 2021-06-30
        QCOMPARE(empty.mid(4, 4), QByteArray(4, '\0'));
        QCOMPARE(empty.mid(8, 2), QByteArray("\x81\x00", 2));    // 129
        QCOMPARE(empty.mid(10, 2), QByteArray("\x1e\x00", 2));   // 30
        QCOMPARE(empty.at(29), '\x03');                          // cp1252
        QCOMPARE(empty.mid(32, 11), QByteArray("QTE\0\0\0\0\0\0\0\0", 11));
        QCOMPARE(empty.at(32 + 11), 'N');
        QCOMPARE(empty.at(32 + 16), '\x0b');
        QCOMPARE(empty.at(128), '\x0d');
        QCOMPARE(empty.at(129), '\x1a');

        {
            auto file = DbfFile::open(path);
            const QByteArray a = RecordBuilder(*file).set("NOM", QStringLiteral("A")).bytes();
            file->writeRecord(0, a);
            file->writeRecord(1, a);
            file->writeRecord(0, RecordBuilder(*file).set("NOM", QStringLiteral("B")).bytes());
        }
        const QByteArray two = Files::bytesOf(path);
        QCOMPARE(two.size(), 129 + 2 * 30 + 1);
        QCOMPARE(two.mid(0, 4), empty.mid(0, 4));   // date unchanged
        QCOMPARE(two.mid(4, 4), QByteArray("\x02\0\0\0", 4));
        QCOMPARE(two.at(129), ' ');
        QCOMPARE(two.mid(129 + 12, 10), QByteArray("B         "));
        QCOMPARE(two.mid(159 + 12, 10), QByteArray("A         "));
        QCOMPARE(two.at(two.size() - 1), '\x1a');
    }

    // The supplied tables must be reproducible: two files built with the same
    // records are the same bytes.
    void reproducible() {
        TempDataDir a, b;
        Fixtures::writeSmallFoodTable(a.path());
        Fixtures::writeSmallFoodTable(b.path());
        const QByteArray x = Files::bytesOf(a.file(QStringLiteral("DIETAB.DBF")));
        QVERIFY(!x.isEmpty());
        QCOMPARE(x, Files::bytesOf(b.file(QStringLiteral("DIETAB.DBF"))));
    }

    // A production-index flag is ignored on reading and cleared by the first
    // write, so that no dBase program trusts an index that no longer matches.
    void productionIndexFlag() {
        TempDataDir dir;
        const QString path = smallTable(dir.path());
        QByteArray bytes = Files::bytesOf(path);
        bytes[28] = 1;
        QVERIFY(Files::writeBytes(path, bytes));
        {
            auto file = DbfFile::open(path);
            QVERIFY(file->productionIndexFlag());
        }
        QCOMPARE(Files::bytesOf(path).at(28), '\x01');   // opening writes nothing
        {
            auto file = DbfFile::open(path);
            file->writeRecord(0, file->blankRecord());
            QVERIFY(!file->productionIndexFlag());
        }
        QCOMPARE(Files::bytesOf(path).at(28), '\0');
    }

    void readOnlyRefusesWrites() {
        TempDataDir dir;
        const QString path = smallTable(dir.path());
        const QByteArray before = Files::bytesOf(path);
        auto file = DbfFile::open(path, true);
        QVERIFY_THROWS_EXCEPTION(DataError, file->writeRecord(0, file->blankRecord()));
        QCOMPARE(Files::bytesOf(path), before);
    }

    void createRefusesBadFields_data() {
        QTest::addColumn<QVector<DbfField>>("fields");
        QTest::newRow("no field") << QVector<DbfField>{};
        QTest::newRow("long name") << QVector<DbfField>{field("ABCDEFGHIJK", 'C', 5)};
        QTest::newRow("accented name") << QVector<DbfField>{field("QT\xc9", 'C', 5)};
        QTest::newRow("duplicate") << QVector<DbfField>{field("A", 'C', 5), field("a", 'N', 5)};
        QTest::newRow("zero width") << QVector<DbfField>{field("A", 'C', 0)};
        QTest::newRow("decimals too many") << QVector<DbfField>{field("A", 'N', 4, 4)};
        QTest::newRow("unknown type") << QVector<DbfField>{field("A", 'X', 4)};
    }
    void createRefusesBadFields() {
        QFETCH(QVector<DbfField>, fields);
        TempDataDir dir;
        const QString path = dir.file(QStringLiteral("BAD.DBF"));
        QVERIFY_THROWS_EXCEPTION(DataError, DbfFile::create(path, fields));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
