// "Besoins d'une personne" from the keyboard alone, as the main window opens
// it: Alt+F, D, End, Return; the fields in their Tab order; Return opens the
// bilan on the person's needs, whose Ctrl+P writes a PDF in the Data
// directory when there is no printer and whose Ctrl+3 completes the day for
// the person. Then the persons kept: picked again,
// changed, renamed onto another only when confirmed, deleted, and a value
// out of range refused at OK with the field focused.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include "app/demarrage.h"
#include "app/diet.h"
#include "core/needs/persontable.h"
#include "core/session/session.h"
#include "diagnosis/diagnost.h"
#include "diagnosis/personne.h"
#include "suggest/completer.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"
#include "support/ui/scripteddesktop.h"

namespace {
// A key to whatever has it: the open menu, else the focused widget, else
// the active window.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* to = QApplication::activePopupWidget();
    if (!to) to = QApplication::focusWidget();
    if (!to) to = QApplication::activeWindow();
    QVERIFY(to);
    QTest::keyClick(to, Qt::Key(key), modifiers);
}

// Runs f on the modal window of type W as soon as it is up and active, so
// that keys reach it (its exec() waits in the caller meanwhile). A failure
// inside f closes the window, so that the test ends instead of waiting.
template <class W>
void whenModal(std::function<void(W*)> f) {
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, f] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w || QApplication::activeWindow() != w) return;
        poll->stop();
        poll->deleteLater();
        f(w);
        if (QTest::currentTestFailed() && w->isVisible()) w->reject();
    });
    poll->start();
}

}   // namespace

class TestPersonne : public QObject {
    Q_OBJECT
private slots:
    void keyboardAlone() {
        TempDataDir dir;
        Fixtures::copySuppliedTables(dir.path());
        Fixtures::appendBreadLine(dir.path());
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
        Session& session = dir.session();
        ScriptedDesktop desktop(dir.run());
        std::unique_ptr<TFdiet> diet(Demarrage::creeFenetres(session, desktop));
        session.FirstPaint = false;
        ScriptedPrompter prompter(dir.run());
        diet->show();
        QApplication::setActiveWindow(diet.get());
        QVERIFY(QTest::qWaitForWindowActive(diet.get()));

        QStringList order;   // the object names focused, Tab after Tab
        QString title, caption, completer;
        bool printed = false;
        whenModal<TFpersonne>([&](TFpersonne* w) {
            title = w->windowTitle();
            QCOMPARE(w->personne(), Person());   // a new person: a woman, PAL 1.4, no state
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Jeanne"));
            for (int i = 0; i < 6; ++i) {
                order << QApplication::focusWidget()->objectName();
                press(Qt::Key_Tab);
            }
            order << QApplication::focusWidget()->objectName();
            press(Qt::Key_Up);   // state: already the first
            press(Qt::Key_Backtab);
            press(Qt::Key_Down);   // activity: PAL 1.6
            QCOMPARE(w->personne().pal, 1.6);
            whenModal<TFdiagnost>([&](TFdiagnost* d) {
                caption = d->windowTitle();
                QTRY_VERIFY(d->donneesLues());
                QCOMPARE(d->donnees().groupName, QStringLiteral("Jeanne"));
                QVERIFY(d->donnees().subtitle.startsWith(QStringLiteral("femme, 35 ans")));
                press(Qt::Key_P, Qt::ControlModifier);
                QTRY_VERIFY(!QDir(dir.path()).entryList({"bilan*.pdf"}).isEmpty());
                printed = true;
                // Compléter la ration on the same needs and upper levels.
                whenModal<TFcompleter>([&](TFcompleter* c) {
                    completer = c->CBgroupe->currentText();
                    QVERIFY(!c->CBgroupe->isEnabled());
                    QCOMPARE(c->demande().needs[GroupNeeds::Energie], d->donnees().needs[GroupNeeds::Energie]);
                    QCOMPARE(c->demande().limits[GroupNeeds::Cuivre], 5.0);
                    c->reject();
                });
                press(Qt::Key_3, Qt::ControlModifier);
                QTRY_VERIFY(!completer.isEmpty());
                d->close();
            });
            press(Qt::Key_Return);
        });
        press(Qt::Key_F, Qt::AltModifier);
        press(Qt::Key_D);
        press(Qt::Key_End);
        press(Qt::Key_Return);

        QCOMPARE(title, QStringLiteral("Besoins d'une personne"));
        QCOMPARE(order,
                 QStringList({"EditNOM", "RBfemme", "SEage", "SEpoids", "SEtaille", "CBactivite", "CBetat"}));
        QVERIFY2(
            caption.startsWith(QStringLiteral("Jeanne — femme, 35 ans, 58,5 kg, 163 cm, PAL 1,6 (peu actif)")),
            qPrintable(caption));
        QVERIFY(caption.endsWith(SuffixeBilan));
        QVERIFY(printed);
        QCOMPARE(completer, QStringLiteral("Jeanne"));
        QCOMPARE(PersonTable::read(dir.run()).size(), 1);
        QDir::setCurrent(cwd);
    }

    // The sex from the keyboard, and the state a woman's only.
    void sexByArrows() {
        TempDataDir dir;
        TFpersonne w(dir.run(), Fixtures::efsaReference());
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.RBfemme->setFocus();
        QTest::keyClick(w.RBfemme, Qt::Key_Down);
        QVERIFY(w.RBhomme->isChecked());
        QVERIFY(!w.CBetat->isEnabled());
        QCOMPARE(w.personne().sex, Person::Sex::Male);
        QTest::keyClick(w.RBhomme, Qt::Key_Up);
        QVERIFY(w.RBfemme->isChecked() && w.CBetat->isEnabled());
        QVERIFY2(w.Lbesoins->text().startsWith(QStringLiteral("Besoin en énergie : 1799 kcal par jour, soit le "
                                                              "métabolisme de base (5,38 MJ) × PAL 1,4.")),
                 qPrintable(w.Lbesoins->text()));
    }

    void keptPersons() {
        TempDataDir dir;
        Person marie;
        marie.name = QStringLiteral("Marie");
        marie.age = 72;
        PersonTable::remember(dir.run(), marie);
        Person theo;
        theo.name = QStringLiteral("Théo");
        theo.sex = Person::Sex::Male;
        theo.age = 15;
        theo.height = 170;
        theo.pal = 2.0;
        PersonTable::remember(dir.run(), theo);
        ScriptedPrompter prompter(dir.run());

        TFpersonne w(dir.run(), Fixtures::efsaReference());
        QVERIFY(w.FormShow());
        QCOMPARE(w.LBpersonnes->count(), 2);
        w.LBpersonnes->setCurrentRow(1);
        QCOMPARE(w.personne(), theo);

        // Out of range: refused at OK, the field focused, nothing kept.
        w.show();
        w.SEtaille->setValue(300);
        w.BitBtnOKClick();
        QVERIFY(w.isVisible());
        QVERIFY(prompter.lastText().startsWith(QStringLiteral("Taille : de 120 à 200 cm à 15 ans")));
        QTRY_COMPARE(QApplication::focusWidget(), w.SEtaille);
        QCOMPARE(PersonTable::read(dir.run()).at(1), theo);

        // Renamed onto Marie: asked first, Non by default; Oui replaces her.
        w.SEtaille->setValue(175);
        w.EditNOM->setText(QStringLiteral("marie"));
        w.BitBtnOKClick();
        QCOMPARE(prompter.asked.last().byDefault, Prompter::Default::No);
        QCOMPARE(PersonTable::read(dir.run()), (QVector<Person>{marie, theo}));
        prompter.answer(true);
        w.BitBtnOKClick();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        Person changed = theo;
        changed.name = QStringLiteral("marie");
        changed.height = 175;
        QCOMPARE(PersonTable::read(dir.run()), (QVector<Person>{changed, theo}));
        QVERIFY(w.bilan().needs[GroupNeeds::Energie] > 0);
        QCOMPARE(w.bilan().title, QStringLiteral("marie"));

        // Deleted once confirmed.
        QVERIFY(w.FormShow());
        w.LBpersonnes->setCurrentRow(1);
        prompter.answer(true);
        w.SBsupprimerClick();
        QCOMPARE(PersonTable::read(dir.run()), (QVector<Person>{changed}));
        QCOMPARE(w.personne(), Person());
    }
};

QTEST_MAIN(TestPersonne)
#include "tst_personne.moc"
