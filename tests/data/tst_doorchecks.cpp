// Files that lie are refused at the door, with the file, the record and the
// field named: a header length that does not match the field descriptors, a
// deletion flag other than blank or "*", a number field whose text is not a
// number (a blank one still reads 0). And no write through a symbolic link:
// a table or a saved day that is a link is refused for writing, while a
// read-only opening still follows it.
#include <QDir>
#include <cstring>
#include <QtTest>

#include <sys/stat.h>

#include "core/compose/choicefiles.h"
#include "core/io/checkedfiles.h"
#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"
#include "core/dbf/dbfnumber.h"
#include "core/io/fileops.h"
#include "core/io/runcontext.h"
#include "core/table/table.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"

namespace {

// CHOIX.DBF with two lines; returns its bytes.
QByteArray twoLines(const TempDataDir& dir) {
    Fixtures::createEmpty(choiceSchema(), dir.path());
    Fixtures::appendRecords(choiceSchema(), dir.file("CHOIX.DBF"),
                            {{{"NOM", QStringLiteral("Pomme")}, {"QTE", 150.0}},
                             {{"NOM", QStringLiteral("Pain complet")}, {"QTE", 80.0}}});
    return Files::bytesOf(dir.file("CHOIX.DBF"));
}

int headerLength(const QByteArray& b) {
    return static_cast<unsigned char>(b[8]) | (static_cast<unsigned char>(b[9]) << 8);
}
int recordLength(const QByteArray& b) {
    return static_cast<unsigned char>(b[10]) | (static_cast<unsigned char>(b[11]) << 8);
}
// Offset of QTE's bytes in the second record.
int qteOfSecond(const QByteArray& b) {
    const int qte = choiceSchema().field("QTE")->offset;
    return headerLength(b) + recordLength(b) + 1 + qte;
}

}   // namespace

class TestDoorChecks : public QObject {
    Q_OBJECT
private slots:
    void liesRefused_data() {
        QTest::addColumn<QString>("lie");
        QTest::addColumn<QString>("reason");
        QTest::newRow("header one byte long")
            << "header+1"
            << "la longueur d'en-tête (%1) ne correspond pas aux champs décrits (%2)";
        QTest::newRow("deletion flag")
            << "flag"
            << "l'enregistrement n° 2 a un indicateur de suppression invalide (0x58 au lieu d'un "
               "blanc ou d'une étoile)";
        for (const char* text : {"12a4", "*****", "nan", "1e999", "1\\x002", "-", "inf"})
            QTest::newRow(qPrintable(QStringLiteral("number %1").arg(QLatin1String(text))))
                << QStringLiteral("qte:") + QString::fromLatin1(text)
                << "l'enregistrement n° 2 a dans le champ QTE la valeur « %3 », qui n'est pas un nombre";
    }
    void liesRefused() {
        QFETCH(QString, lie);
        QFETCH(QString, reason);
        TempDataDir dir;
        QByteArray b = twoLines(dir);
        const int hlen = headerLength(b);
        QString shown;
        if (lie == "header+1") {
            b[8] = static_cast<char>(hlen + 1);
            reason = reason.arg(hlen + 1).arg(hlen);
        } else if (lie == "flag") {
            b[hlen + recordLength(b)] = 'X';
        } else {
            QByteArray text = lie.mid(4).toLatin1().replace("\\x00", QByteArray(1, '\0'));
            const int width = choiceSchema().field("QTE")->length;
            text = QByteArray(width - text.size(), ' ') + text;
            b.replace(qteOfSecond(b), width, text);
            shown = QString::fromLatin1(text).trimmed().replace(QChar(0), QLatin1Char('?'));
            reason = reason.replace("%3", shown);
        }
        QVERIFY(Files::writeBytes(dir.file("CHOIX.DBF"), b));
        const QString message = QStringLiteral("Le fichier CHOIX.DBF est endommagé : %1.").arg(reason);
        EXPECT_DATA_ERROR(Equals, message, DbfFile::open(dir.file("CHOIX.DBF"), true));
        Table t(dir.run(), choiceSchema());
        EXPECT_DATA_ERROR(Equals, message, t.open());
        QCOMPARE(Files::bytesOf(dir.file("CHOIX.DBF")), b);   // nothing written
    }

    // A table checked once is not checked again while it stays as it was; a
    // change in place, the size kept, is checked again.
    void checkedAgainAfterAChange() {
        TempDataDir dir;
        QByteArray b = twoLines(dir);
        const QString path = dir.file("CHOIX.DBF");
        const auto identity = [&path] {
            struct stat st {};
            return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? CheckedFiles::identityOf(st)
                                                                         : QByteArray();
        };
        // Times of files have a coarse clock: only a file left alone for a
        // few seconds is remembered as checked.
        QTest::qWait(4100);
        DbfFile::open(path, true, &dir.run());
        QVERIFY(dir.run().checkedFiles().contains(identity()));
        const int width = choiceSchema().field("QTE")->length;
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.seek(qteOfSecond(b)));
        QCOMPARE(f.write(QByteArray(width - 4, ' ') + "12a4"), qint64(width));
        f.close();
        QCOMPARE(QFileInfo(path).size(), qint64(b.size()));
        QTest::qWait(4100);   // settled again: only its identity tells the change
        QVERIFY(!dir.run().checkedFiles().contains(identity()));
        EXPECT_DATA_ERROR(Contains, QStringLiteral("la valeur « 12a4 », qui n'est pas un nombre"),
                          DbfFile::open(path, true, &dir.run()));
        // A file the run remembers as checked is read without its records
        // being checked again (here, one made to lie behind the run's back).
        dir.run().checkedFiles().insert(identity());
        QCOMPARE(DbfFile::open(path, true, &dir.run())->recordCount(), 2);
    }

    // What is not a lie still opens: blanks (and NUL padding) read 0, and a
    // decimal comma or an exponent are numbers.
    void honestNumbersAccepted_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("blank") << QByteArray("") << 0.0;
        QTest::newRow("NUL padded") << QByteArray("7\0\0", 3) << 7.0;
        QTest::newRow("decimal comma") << QByteArray("3,5") << 3.5;
        QTest::newRow("exponent") << QByteArray("1.5E+2") << 150.0;
    }
    void honestNumbersAccepted() {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        TempDataDir dir;
        QByteArray b = twoLines(dir);
        const int width = choiceSchema().field("QTE")->length;
        b.replace(qteOfSecond(b), width, QByteArray(width - text.size(), ' ') + text);
        QVERIFY(Files::writeBytes(dir.file("CHOIX.DBF"), b));
        auto f = DbfFile::open(dir.file("CHOIX.DBF"), true);
        QCOMPARE(f->number(1, f->fieldIndex("QTE")), value);
    }

    // The door check classifies the bytes of a field together; it must answer
    // as the byte-by-byte reading does for every text of the characters that
    // matter, at every width and wherever the field sits among other bytes.
    void wideCheckAnswersAsTheNarrowOne() {
        const char alphabet[] = {' ', '\0', '-', '+', '.', '0', '9', 'e', ','};
        const int letters = int(sizeof alphabet);
        char buffer[32];
        int texts = 0;
        for (int n = 1; n <= 5; ++n) {
            int total = 1;
            for (int i = 0; i < n; ++i) total *= letters;
            for (int code = 0; code < total; ++code, ++texts) {
                std::memset(buffer, '7', sizeof buffer);   // digits around the field
                for (int i = 0, c = code; i < n; ++i, c /= letters) buffer[3 + i] = alphabet[c % letters];
                const bool narrow = DbfNumber::isPlainNumber(buffer + 3, n);
                if (DbfNumber::isPlainNumberWide(buffer + 3, n) != narrow)
                    QFAIL(qPrintable(QStringLiteral("« %1 »").arg(QString::fromLatin1(buffer + 3, n))));
            }
        }
        for (const char* wide :
             {"   12345.678901", "-1234567890.1234", "1234567890123456", "   .  ", "1.2.3"}) {
            std::memset(buffer, ' ', sizeof buffer);
            std::memcpy(buffer, wide, std::strlen(wide));
            for (int n = 1; n <= 16; ++n)
                QCOMPARE(DbfNumber::isPlainNumberWide(buffer, n), DbfNumber::isPlainNumber(buffer, n));
        }
        QVERIFY(texts > 60000);
    }

    // A table that is a link to a file elsewhere: read through, never written.
    void tableLinkNotWritten() {
        TempDataDir elsewhere, dir;   // dir last: the Data directory
        const QByteArray outside = twoLines(elsewhere);
        QVERIFY(QFile::link(elsewhere.file("CHOIX.DBF"), dir.file("CHOIX.DBF")));
        EXPECT_DATA_ERROR(StartsWith,
                          QStringLiteral("Le fichier CHOIX.DBF est un lien symbolique vers un autre "
                                         "fichier : le programme n'écrit pas à travers un lien."),
                          DbfFile::open(dir.file("CHOIX.DBF")));
        QCOMPARE(DbfFile::open(dir.file("CHOIX.DBF"), true)->recordCount(), 2);
        Fixtures::createEmpty(choiceSchema(), dir.path(), "choix0.dbf");
        EXPECT_DATA_ERROR(StartsWith, QStringLiteral("Le fichier choix.dbf est un lien symbolique"),
                          FileOps::copyFile(dir.run(), "choix0.dbf", "choix.dbf"));
        QCOMPARE(Files::bytesOf(elsewhere.file("CHOIX.DBF")), outside);
        QVERIFY(QFileInfo(dir.file("CHOIX.DBF")).isSymLink());
    }

    // Saving the day under the name of a link: refused before any question,
    // the file outside untouched.
    void savedDayLinkRefused() {
        TempDataDir elsewhere, dir;   // dir last: the Data directory
        twoLines(dir);
        QVERIFY(Files::writeBytes(elsewhere.file("notes.txt"), "not mine"));
        QVERIFY(QFile::link(elsewhere.file("notes.txt"), dir.file("lien.dat")));
        ScriptedPrompter p(dir.run());
        p.answer(true);
        QCOMPARE(ChoiceFiles::enregistrer(dir.run(), "lien.dat"), ChoiceFiles::Suite::Reste);
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked[0].kind, Prompter::Kind::Warning);
        QVERIFY2(p.lastText().startsWith("Le fichier lien.dat est un lien symbolique"),
                 qPrintable(p.lastText()));
        QCOMPARE(Files::bytesOf(elsewhere.file("notes.txt")), QByteArray("not mine"));
    }
};

QTEST_GUILESS_MAIN(TestDoorChecks)
#include "tst_doorchecks.moc"
