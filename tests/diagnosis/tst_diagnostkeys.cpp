// The diagnosis window from the keyboard: its page, print and "Compléter la
// ration" buttons take no focus, so each has a shortcut, shown in its hint,
// that works on the shown window; after lines are added to the day, the
// window shows the new day.
#include <QFileInfo>
#include <QToolButton>
#include <QtTest>

#include "compose/compose.h"
#include "core/compose/dailytotals.h"
#include "core/session/session.h"
#include "diagnosis/diagnost.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/testsupport.h"
#include "ui/printerservice.h"

class TestDiagnostKeys : public QObject {
    Q_OBJECT
private slots:
    void pageAndPrintKeys() {
        TempDataDir dir;
        Fixtures::writeAllTables(dir.path());
        Fixtures::appendBreadLine(dir.path());
        Session& session = dir.session();
        session.FirstPaint = false;
        ScriptedDesktop desktop(dir.run());
        ScriptedPrompter prompter(dir.run());
        const QString pdf = dir.file(QStringLiteral("bilan.pdf"));
        desktop.printers().setPdfOutput(pdf);

        TFdiagnost w(session, desktop);
        QString groupeOuvert;
        w.setOpenCompletion([&](const QString& groupe, const PersonBilan*) {
            groupeOuvert = groupe;
            QVariantMap added;
            added["NOM"] = QStringLiteral("Pomme");
            added["QTE"] = 150.0;
            Fixtures::appendRecords(choiceSchema(), dir.file(QStringLiteral("CHOIX.DBF")), {added});
            return true;
        });
        w.setGroup(QStringLiteral("Femme active"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Femme active : bilan de la ration journalière"));
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTRY_VERIFY(w.donneesLues());

        const struct {
            QToolButton* button;
            QKeySequence key;
        } keys[] = {{w.SBpage2, QKeySequence(Qt::CTRL | Qt::Key_2)},
                    {w.SBpage1, QKeySequence(Qt::CTRL | Qt::Key_1)},
                    {w.SBimprimer, QKeySequence(Qt::CTRL | Qt::Key_P)},
                    {w.SBcompleter, QKeySequence(Qt::CTRL | Qt::Key_3)}};
        for (const auto& k : keys) {
            QCOMPARE(k.button->shortcut(), k.key);
            QVERIFY2(k.button->toolTip().contains(k.key.toString(QKeySequence::NativeText)),
                     qPrintable(k.button->toolTip()));
            QTest::keySequence(&w, k.key);
            // A shortcut presses the button as a click does, after a short delay.
            if (k.button->isCheckable()) QTRY_VERIFY(k.button->isChecked());
        }
        QTRY_VERIFY(QFileInfo(pdf).size() > 0);
        QTRY_COMPARE(w.donnees().totals[DailyTotals::QTE], 250.0);
        QCOMPARE(groupeOuvert, QStringLiteral("Femme active"));
        QVERIFY(w.isVisible());
        QCOMPARE(prompter.asked.size(), 0);
        w.close();
    }
};

QTEST_MAIN(TestDiagnostKeys)
#include "tst_diagnostkeys.moc"
