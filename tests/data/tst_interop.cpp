// Interoperability: a table written by Nutrimo reads the same through two
// independent readers (python3-dbfread, shapelib), and tables written by
// python3-dbf and by shapelib open and read correctly here.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <shapefil.h>

#include "core/dbf/dbf.h"
#include "core/table/table.h"
#include "support/testsupport.h"

namespace {

// Debian's Python modules belong to this interpreter.
const QString kPython = QStringLiteral("/usr/bin/python3");

QJsonDocument runPython(const QString& script, const QStringList& args) {
    QProcess p;
    p.start(kPython, QStringList{QStringLiteral("-c"), script} + args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning().noquote() << p.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput());
}

struct Line {
    QString nom;
    double qte;
    double protA;
    double vitD;
    bool deleted;
};

const QVector<Line> kLines = {
    {QStringLiteral("Épinards, cuits à l'eau"), 200, 5.25, 0.0001, false},
    {QStringLiteral("Œufs brouillés — maison €"), 120, -0.5, 0, false},
    {QStringLiteral("Supprimé"), 1, 1, 1, true},
    {QStringLiteral("Crème fraîche ÀÇÈÉÊËÎÏÔÙÛÜŸ"), 10000, 123456.12345678, 0.00012345, false},
    {QString(), 0, 0, 0, false},
};

// Writes kLines through a table handle.
void writeWithNutrimo(TempDataDir& dir) {
    Fixtures::createEmpty(choiceSchema(), dir.path());
    Table t(dir.run(), choiceSchema());
    t.open();
    for (const Line& l : kLines) {
        t.append();
        t.setString(QStringLiteral("NOM"), l.nom);
        t.setFloat(QStringLiteral("QTE"), l.qte);
        t.setFloat(QStringLiteral("PROT_A"), l.protA);
        t.setFloat(QStringLiteral("VIT_D"), l.vitD);
        t.post();
        if (l.deleted) t.deleteRecord();
    }
}

void checkReadsBack(Table& t) {
    t.open();
    QCOMPARE(t.recordCount(), 4);
    int i = 0;
    for (t.first(); !t.eof(); t.next(), ++i) {
        if (kLines[i].deleted) ++i;
        QCOMPARE(t.asString(QStringLiteral("NOM")), kLines[i].nom);
        QCOMPARE(t.asFloat(QStringLiteral("QTE")), kLines[i].qte);
        QCOMPARE(t.asFloat(QStringLiteral("PROT_A")), kLines[i].protA);
        QCOMPARE(t.asFloat(QStringLiteral("VIT_D")), kLines[i].vitD);
        QCOMPARE(t.asFloat(QStringLiteral("NUMERO")), 0.0);
        QCOMPARE(t.asString(QStringLiteral("CATEGORIE")), QString());
    }
}

// python3-dbf field list of a schema: "NOM C(30); QTE N(11,0)...".
QString dbfSpec(const TableSchema& s) {
    QStringList parts;
    for (const DbfField& f : s.fields)
        parts << (f.type == 'C' ? QStringLiteral("%1 C(%2)").arg(f.name).arg(f.length)
                                : QStringLiteral("%1 N(%2,%3)").arg(f.name).arg(f.length).arg(f.decimals));
    return parts.join(QStringLiteral("; "));
}

}   // namespace

class TestInterop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QJsonDocument ok =
            runPython(QStringLiteral("import dbf, dbfread, json; print(json.dumps([1]))"), {});
        QVERIFY2(ok.isArray(), "python3-dbf and python3-dbfread are needed (make deps)");
    }

    void readByDbfread() {
        TempDataDir dir;
        writeWithNutrimo(dir);
        const QString script = QStringLiteral(R"(
import dbfread, json, sys
t = dbfread.DBF(sys.argv[1], encoding='cp1252', load=True)
out = {'fields': [[f.name, f.type, f.length, f.decimal_count] for f in t.fields],
       'records': [dict(r) for r in t.records], 'deleted': [dict(r) for r in t.deleted]}
print(json.dumps(out))
)");
        const QJsonObject o = runPython(script, {dir.file(QStringLiteral("CHOIX.DBF"))}).object();
        QVERIFY(!o.isEmpty());
        const QJsonArray fields = o.value("fields").toArray();
        QCOMPARE(fields.size(), choiceSchema().fields.size());
        for (int i = 0; i < fields.size(); ++i) {
            const DbfField& f = choiceSchema().fields[i];
            QCOMPARE(fields[i].toArray().at(0).toString(), f.name);
            QCOMPARE(fields[i].toArray().at(1).toString(), QString(QChar(f.type)));
            QCOMPARE(fields[i].toArray().at(2).toInt(), f.length);
            QCOMPARE(fields[i].toArray().at(3).toInt(), f.decimals);
        }
        const QJsonArray records = o.value("records").toArray();
        const QJsonArray deleted = o.value("deleted").toArray();
        QCOMPARE(records.size(), 4);
        QCOMPARE(deleted.size(), 1);
        QCOMPARE(deleted[0].toObject().value("NOM").toString(), QStringLiteral("Supprimé"));
        int i = 0;
        for (const QJsonValue& v : records) {
            if (kLines[i].deleted) ++i;
            const QJsonObject r = v.toObject();
            QCOMPARE(r.value("NOM").toString(), kLines[i].nom);
            QCOMPARE(r.value("QTE").toDouble(), kLines[i].qte);
            QCOMPARE(r.value("PROT_A").toDouble(), kLines[i].protA);
            QCOMPARE(r.value("VIT_D").toDouble(), kLines[i].vitD);
            QVERIFY(r.value("NUMERO").isNull());   // blank number
            QCOMPARE(r.value("CATEGORIE").toString(), QString());
            ++i;
        }
    }

    void readByShapelib() {
        TempDataDir dir;
        writeWithNutrimo(dir);
        const QByteArray path = QFile::encodeName(dir.file(QStringLiteral("CHOIX.DBF")));
        DBFHandle h = DBFOpen(path.constData(), "rb");
        QVERIFY(h);
        QCOMPARE(DBFGetRecordCount(h), kLines.size());
        QCOMPARE(DBFGetFieldCount(h), choiceSchema().fields.size());
        for (int f = 0; f < DBFGetFieldCount(h); ++f) {
            char name[12];
            int width = 0, decimals = 0;
            const DBFFieldType type = DBFGetFieldInfo(h, f, name, &width, &decimals);
            QCOMPARE(QString::fromLatin1(name), choiceSchema().fields[f].name);
            if (choiceSchema().fields[f].type == 'C')
                QCOMPARE(type, FTString);
            else
                QVERIFY(type == FTInteger || type == FTDouble);
            QCOMPARE(decimals, choiceSchema().fields[f].decimals);
            QCOMPARE(width, choiceSchema().fields[f].length);
        }
        const int nom = DBFGetFieldIndex(h, "NOM"), qte = DBFGetFieldIndex(h, "QTE"),
                  prot = DBFGetFieldIndex(h, "PROT_A"), vitd = DBFGetFieldIndex(h, "VIT_D"),
                  numero = DBFGetFieldIndex(h, "NUMERO");
        for (int r = 0; r < kLines.size(); ++r) {
            QCOMPARE(bool(DBFIsRecordDeleted(h, r)), kLines[r].deleted);
            QCOMPARE(Cp1252::decode(QByteArray(DBFReadStringAttribute(h, r, nom))), kLines[r].nom);
            QCOMPARE(DBFReadDoubleAttribute(h, r, qte), kLines[r].qte);
            QCOMPARE(DBFReadDoubleAttribute(h, r, prot), kLines[r].protA);
            QCOMPARE(DBFReadDoubleAttribute(h, r, vitd), kLines[r].vitD);
            QVERIFY(DBFIsAttributeNULL(h, r, numero));
        }
        DBFClose(h);
    }

    void writtenByPythonDbf() {
        TempDataDir dir;
        const QString script = QStringLiteral(R"(
import dbf, sys
t = dbf.Table(sys.argv[1], sys.argv[2], dbf_type='db3', codepage='cp1252')
t.open(dbf.READ_WRITE)
rows = [('Épinards, cuits à l\'eau', 200, 5.25, 0.0001),
        ('Œufs brouillés — maison €', 120, -0.5, 0),
        ('Supprimé', 1, 1, 1),
        ('Crème fraîche ÀÇÈÉÊËÎÏÔÙÛÜŸ', 10000, 123456.12345678, 0.00012345),
        ('', 0, 0, 0)]
for nom, qte, prot, vitd in rows:
    t.append({'nom': nom, 'qte': qte, 'prot_a': prot, 'vit_d': vitd})
dbf.delete(t[2])
t.close()
print('[1]')
)");
        QVERIFY(runPython(script, {dir.file(QStringLiteral("CHOIX.DBF")), dbfSpec(choiceSchema())}).isArray());
        Table t(dir.run(), choiceSchema());
        checkReadsBack(t);
        // And Nutrimo can go on writing to it.
        t.append();
        t.setString(QStringLiteral("NOM"), QStringLiteral("Ajouté"));
        t.post();
        t.close();
        t.open();
        QCOMPARE(t.recordCount(), 5);
    }

    void writtenByShapelib() {
        TempDataDir dir;
        const QByteArray path = QFile::encodeName(dir.file(QStringLiteral("CHOIX.DBF")));
        DBFHandle h = DBFCreate(path.constData());
        QVERIFY(h);
        for (const DbfField& f : choiceSchema().fields)
            QVERIFY(DBFAddField(h, f.name.toLatin1().constData(), f.type == 'C' ? FTString : FTDouble, f.length,
                                f.decimals) >= 0);
        const int nom = DBFGetFieldIndex(h, "NOM"), qte = DBFGetFieldIndex(h, "QTE"),
                  prot = DBFGetFieldIndex(h, "PROT_A"), vitd = DBFGetFieldIndex(h, "VIT_D");
        for (int r = 0; r < kLines.size(); ++r) {
            QVERIFY(DBFWriteStringAttribute(h, r, nom, Cp1252::encode(kLines[r].nom).constData()));
            QVERIFY(DBFWriteDoubleAttribute(h, r, qte, kLines[r].qte));
            QVERIFY(DBFWriteDoubleAttribute(h, r, prot, kLines[r].protA));
            QVERIFY(DBFWriteDoubleAttribute(h, r, vitd, kLines[r].vitD));
            if (kLines[r].deleted) QVERIFY(DBFMarkRecordDeleted(h, r, 1));
        }
        DBFClose(h);
        // shapelib names the file in its own letter case; the table finds it.
        Table t(dir.run(), choiceSchema());
        t.setFileName(QStringLiteral("choix.dbf"));
        checkReadsBack(t);
    }
};

QTEST_GUILESS_MAIN(TestInterop)
#include "tst_interop.moc"
