// The window "Bilan de plusieurs jours" and the diagnosis it opens, by
// keyboard alone from the main menu: ticking the days, the groups, the three
// pages, printing the two sheets; the day's choice untouched; the tick rules.
#include <QListWidget>
#include <QMenu>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "app/demarrage.h"
#include "app/diet.h"
#include "core/diagnosis/needs.h"
#include "core/diagnosis/page2.h"
#include "core/session/session.h"
#include "diagnosis/diagnost.h"
#include "diagnosis/jours.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"
#include "support/ui/scripteddesktop.h"
#include "ui/printerservice.h"

namespace {
QVariantMap line(const QString& nom, double qte, double kcal, double ca) {
    QVariantMap m;
    m["NOM"] = nom;
    m["QTE"] = qte;
    m["CALORIES"] = kcal;
    m["GLUC_A"] = kcal / 4;
    m["CA"] = ca;
    return m;
}
QDateTime jour(int d) { return QDateTime(QDate(2026, 3, 2 + d), QTime(19, 45)); }

void press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(w, key, m); }

// The main window and its windows on a Data directory holding three saved
// days, a damaged one, and a day's choice of its own.
struct Fixture {
    TempDataDir dir;
    QString previousCwd = QDir::currentPath();
    Session* session = &dir.session();
    ScriptedDesktop desktop{dir.run()};
    ScriptedPrompter prompter{dir.run()};
    std::unique_ptr<TFdiet> diet;
    Fixture() {
        Fixtures::writeAllTables(dir.path());
        const char* names[] = {"lundi.dat", "mardi.dat", "mercredi.dat"};
        for (int d = 0; d < 3; ++d)
            Fixtures::writeSavedDay(
                dir.path(), QLatin1String(names[d]),
                {line(QStringLiteral("Pain blanc"), 100 + 50 * d, 1800 + 100 * d, 300 + 100 * d)}, jour(d));
        (void)Files::writeBytes(dir.file(QStringLiteral("abime.dat")), QByteArray(40, 'x'));
        Fixtures::appendRecords(choiceSchema(), dir.file(QStringLiteral("CHOIX.DBF")),
                                {line(QStringLiteral("Beurre"), 10, 74, 2)});
        QDir::setCurrent(dir.path());
        diet.reset(Demarrage::creeFenetres(*session, desktop));
        session->FirstPaint = false;
    }
    ~Fixture() {
        diet.reset();
        QDir::setCurrent(previousCwd);
    }
};
}   // namespace

class TestJours : public QObject {
    Q_OBJECT
private slots:
    // Alt+F, J; Space, Down, Ctrl+A; Return; the group by the arrows;
    // Return: the bilan of three days, its page 3, its print; nothing of the
    // day's choice is read or changed.
    void keyboardAlone() {
        Fixture f;
        const QByteArray choix = Files::bytesOf(f.dir.file(QStringLiteral("CHOIX.DBF")));
        const QString pdf = f.dir.file(QStringLiteral("test-jours.pdf"));
        f.desktop.printers().setPdfOutput(pdf);
        TFdiagnost* diag = f.diet->Fdiagnost;
        QStringList shown, groupes;
        QString titre;
        int page = 0;
        f.desktop.onRun = [&](QDialog& dialog) {
            QDialog* d = &dialog;
            shown << d->windowTitle();
            if (auto* jours = qobject_cast<TFjours*>(d)) {
                jours->show();
                QApplication::setActiveWindow(jours);
                QVERIFY(QTest::qWaitForWindowActive(jours));
                QCOMPARE(jours->DBGjours->topLevelItemCount(), 4);
                QCOMPARE(jours->DBGjours->topLevelItem(3)->text(0), QStringLiteral("abime.dat"));
                QCOMPARE(jours->DBGjours->topLevelItem(3)->text(4), QStringLiteral("endommagé"));
                press(jours->DBGjours, Qt::Key_Space);
                QCOMPARE(jours->joursCoches().size(), 1);
                press(jours->DBGjours, Qt::Key_Return);   // one day is not enough
                QCOMPARE(f.prompter.asked.size(), 1);
                QVERIFY(jours->DBGjours->isVisible());
                press(jours->DBGjours, Qt::Key_Down);
                press(jours->DBGjours, Qt::Key_Space);
                QCOMPARE(jours->joursCoches().size(), 2);
                press(jours->DBGjours, Qt::Key_A, Qt::ControlModifier);
                QCOMPARE(jours->joursCoches().size(), 3);
                press(jours->DBGjours, Qt::Key_End);
                press(jours->DBGjours, Qt::Key_Space);   // the damaged day is refused, with why
                QCOMPARE(jours->joursCoches().size(), 3);
                QVERIFY2(f.prompter.lastText().contains(QStringLiteral("endommagé")),
                         qPrintable(f.prompter.lastText()));
                press(jours->DBGjours, Qt::Key_Return);
                QVERIFY(jours->LBgroupes->isVisible());
                for (int i = 0; i < jours->LBgroupes->count(); ++i)
                    groupes << jours->LBgroupes->item(i)->text();
                press(jours->LBgroupes, Qt::Key_Home);
                for (int i = 0; i < 13; ++i) press(jours->LBgroupes, Qt::Key_Down);
                press(jours->LBgroupes, Qt::Key_Return);
                jours->close();
            } else if (d == diag) {
                diag->show();
                QApplication::setActiveWindow(diag);
                QVERIFY(QTest::qWaitForWindowActive(diag));
                QTRY_VERIFY(diag->donneesLues());
                titre = diag->windowTitle();
                QVERIFY(!diag->SBcompleter->isVisible());
                press(diag, Qt::Key_3, Qt::ControlModifier);   // a button's shortcut clicks it a moment later
                QTRY_COMPARE(diag->pageAffichee(), 3);
                page = diag->pageAffichee();
                const int avant = diag->nutrimentChoisi();
                QWidget* pageArea = diag->focusWidget();   // the page, which takes the arrows
                QVERIFY(pageArea);
                press(pageArea, Qt::Key_Right);
                QCOMPARE(diag->nutrimentChoisi(), avant + 1);
                press(diag, Qt::Key_P, Qt::ControlModifier);
                QTRY_VERIFY(QFileInfo(pdf).size() > 0);
                diag->close();
            }
        };
        f.diet->show();
        QVERIFY(QTest::qWaitForWindowActive(f.diet.get()));
        press(f.diet.get(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(f.diet->Fichier1->isVisible());
        press(f.diet->Fichier1, Qt::Key_J);

        QCOMPARE(shown, QStringList({"Bilan de plusieurs jours", "Femme active : Moyenne de 3 jours"}));
        QStringList menu;
        for (const PopulationGroup& g : populationGroups()) menu << g.caption;
        QCOMPARE(groupes, menu);
        QCOMPARE(titre, QStringLiteral("Femme active : Moyenne de 3 jours"));
        QCOMPARE(page, 3);
        QCOMPARE(Files::bytesOf(f.dir.file(QStringLiteral("CHOIX.DBF"))), choix);
        for (double v : f.session->totals().v) QCOMPARE(v, 0.0);
        // Closed, the diagnosis is the day's choice's again.
        QVERIFY(diag->SBpage3->isHidden() && !diag->SBcompleter->isHidden());
        diag->setGroup(QStringLiteral("Femme active"));
        diag->show();
        QTRY_VERIFY(diag->donneesLues());
        QCOMPARE(diag->donnees().totals[DailyTotals::QTE], 10.0);
        diag->close();

        // Two sheets: pages 1 and 2 of the mean, then day by day with the dates.
        const QString text = Files::pdfText(pdf);
        if (text.isEmpty()) QSKIP("pdftotext is not available");
        QCOMPARE(text.count(QLatin1Char('\f')), 2);
        const QString first = text.section(QLatin1Char('\f'), 0, 0),
                      second = text.section(QLatin1Char('\f'), 1);
        QVERIFY(first.contains(QStringLiteral("Moyenne de 3 jours")));
        QVERIFY(first.contains(QStringLiteral("1900 kcal")));
        for (const char* s :
             {"JOUR PAR JOUR", "lundi.dat", "02/03/2026 19:45", "mercredi.dat", "04/03/2026 19:45"})
            QVERIFY2(second.contains(QLatin1String(s)), s);
    }

    // No more than fourteen days: Ctrl+A ticks the fourteen most recent, a
    // fifteenth is refused; untick and tick again.
    void fourteenAtMost() {
        TempDataDir dir;
        ScriptedPrompter prompter(dir.run());
        for (int d = 0; d < 16; ++d)
            Fixtures::writeSavedDay(dir.path(), QStringLiteral("j%1.dat").arg(d, 2, 10, QLatin1Char('0')),
                                    {line(QStringLiteral("Pain"), 100, 250, 10)}, jour(d));
        QStringList opened;
        TFjours w(dir.run(), {QStringLiteral("Femme active")}, QString(),
                  [&](const QString& g, const QVector<SavedDay>& days) {
                      opened << g << QString::number(days.size());
                  });
        w.show();
        press(w.DBGjours, Qt::Key_A, Qt::ControlModifier);
        const QVector<SavedDay> coches = w.joursCoches();
        QCOMPARE(coches.size(), 14);
        QCOMPARE(coches.first().name, QStringLiteral("j02.dat"));
        QVERIFY(!w.cocheJour(0, true));
        QVERIFY(prompter.lastText().contains(QStringLiteral("14 jours au plus")));
        QVERIFY(w.cocheJour(5, false));
        QVERIFY(w.cocheJour(0, true));
        w.SBsuivantClick();
        w.SBbilanClick();
        QCOMPARE(opened, QStringList({"Femme active", "14"}));
        w.close();
    }

    // With no printer the two sheets land as a PDF in the Data directory,
    // and the user is told its name.
    void printedWithoutPrinter() {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("this machine has a printer");
        Fixture f;
        TFdiagnost* diag = f.diet->Fdiagnost;
        diag->setDays(QStringLiteral("Homme actif"), SavedDays::readAll(f.dir.run()).mid(0, 2));
        diag->show();
        QTRY_VERIFY(diag->donneesLues());
        diag->SBimprimerClick();
        diag->close();
        const QStringList pdfs = QDir(f.dir.path()).entryList({QStringLiteral("bilan-jours-*.pdf")});
        QCOMPARE(pdfs.size(), 1);
        QVERIFY(f.prompter.lastText().contains(pdfs.first()));
        const QString text = Files::pdfText(f.dir.file(pdfs.first()));
        if (!text.isEmpty()) QVERIFY(text.contains(QStringLiteral("Moyenne de 2 jours")));
    }
};

QTEST_MAIN(TestJours)
#include "tst_jours.moc"
