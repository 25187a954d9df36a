// The main window: its menu tree, the Diagnostic submenu and DiagClick, the
// menu commands (mode flags, the window each one shows, File > Nouveau with
// and without the template), context help, and closing.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QtTest>

#include "app/demarrage.h"
#include "app/diet.h"
#include "suggest/completer.h"
#include <QComboBox>
#include "app/helpviewer.h"
#include "app/ouvrir.h"
#include "compose/compose.h"
#include "core/compose/dailytotals.h"
#include "core/io/runcontext.h"
#include "core/io/fileseam.h"
#include "core/schema/schema.h"
#include "diagnosis/diagnost.h"
#include "foodtable/consult.h"
#include "foodtable/modif.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "core/session/session.h"
#include "core/needs/efsareference.h"
#include "core/needs/personneeds.h"
#include "ui/help.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"

namespace {
QStringList namesOf(const QList<QAction*>& actions) {
    QStringList n;
    for (QAction* a : actions) n << a->objectName();
    return n;
}
}   // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    TempDataDir m_dir;
    QString m_previousCwd;
    Session* m_session = nullptr;
    std::unique_ptr<ScriptedDesktop> m_desktop;
    TFdiet* m_diet = nullptr;
    QList<QDialog*> m_shown;
    std::function<void(QDialog*)> m_during;   // runs while a window is "shown"

    QString file(const QString& n) const { return m_dir.file(n); }
    QAction* action(const QString& name) const { return m_diet->findChild<QAction*>(name); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        Fixtures::writeAllTables(m_dir.path());
        m_previousCwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        m_session = &m_dir.session();
        m_session->setCiqualFile(Fixtures::ciqualTable());
        m_desktop = std::make_unique<ScriptedDesktop>(m_dir.run());
        // The windows opened are recorded, not shown.
        m_desktop->prepares = false;
        m_desktop->onRun = [this](QDialog& d) {
            m_shown << &d;
            if (m_during) m_during(&d);
        };
        m_diet = Demarrage::creeFenetres(*m_session, *m_desktop);
    }
    void cleanupTestCase() {
        delete m_diet;
        m_desktop.reset();
        QDir::setCurrent(m_previousCwd);
    }
    void init() {
        m_shown.clear();
        m_during = nullptr;
    }

    void startupState() {
        QCOMPARE(QDir(m_session->dataDir()), QDir(m_dir.path()));
        QCOMPARE(QDir(m_dir.run().dataDir().path()), QDir(m_dir.path()));
        for (double v : m_session->totals().v) QCOMPARE(v, 0.0);
        QVERIFY(m_session->FirstPaint);
        const TFdiet& w = *m_diet;
        QVERIFY(w.Fmodif && w.Fconsult && w.Fcompose && w.Fcompose->Fvoir() && w.Fouvrir && w.Fdiagnost);
        // The main window is the parent of the windows it opens.
        for (QWidget* d : {static_cast<QWidget*>(w.Fmodif), static_cast<QWidget*>(w.Fconsult),
                           static_cast<QWidget*>(w.Fcompose), static_cast<QWidget*>(w.Fouvrir),
                           static_cast<QWidget*>(w.Fdiagnost)})
            QCOMPARE(d->parentWidget(), static_cast<QWidget*>(m_diet));
        QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
        QCOMPARE(m_dir.run().helpFile(), QStringLiteral("DIETAIDE.HLP"));
    }

    void windowContents() {
        QCOMPARE(m_diet->windowTitle(), QStringLiteral("Nutrimo"));
        QCOMPARE(m_diet->size(), QSize(640, 480));
        QVERIFY(m_diet->font().bold());
        QCOMPARE(m_diet->Titre->text(), QStringLiteral("LOGICIEL DE NUTRIMO"));
        QCOMPARE(m_diet->Titre->font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(m_diet->Titre->font().pixelSize(), 32);
        QVERIFY(m_diet->Titre->font().bold());
        QCOMPARE(m_diet->Image1->size(), QSize(295, 223));
        QVERIFY(m_diet->Image1->hasScaledContents());
        QVERIFY(!m_diet->Image1->pixmap().isNull());
        QCOMPARE(m_diet->Slogan->text(), QStringLiteral("Mangez-vous bien ?"));
        QCOMPARE(m_diet->Slogan->font().pixelSize(), 27);
        QCOMPARE(m_diet->Slogan->font().family(), QStringLiteral("Times New Roman"));
        QVERIFY(!m_diet->Auteur->text().isEmpty());
        QVERIFY(m_diet->centralWidget()->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    void menuBar() {
        QCOMPARE(namesOf(m_diet->menuBar()->actions()), QStringList({"Fichier1", "Table1", "Aide1"}));
        QCOMPARE(namesOf(m_diet->Fichier1->actions()),
                 QStringList({"Nouveau1", "Reprendrechoixencours1", "Ouvrir1", "Enregistre1", "N2",
                              "Diagnostic1", "Bilandeplusieursjours1", "Completerlaration1", "N4",
                              "Indicedemassecorporelle1", "N1", "Quitter1"}));
        QCOMPARE(namesOf(m_diet->Table1->actions()),
                 QStringList({"Consulter1", "Modifiertable1", "Crationdunalimentcompos1",
                              "AjouterdesalimentsCIQUAL1", "N3", "Tridelatable1"}));
        QCOMPARE(namesOf(m_diet->Aide1->actions()), QStringList({"Index1", "Apropos1"}));
        for (const char* sep : {"N1", "N2", "N3", "N4"}) QVERIFY(action(sep)->isSeparator());
    }

    void menuItems_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<int>("context");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("Fichier1") << "Fichier1"
                                  << "&Fichier"
                                  << "" << 6 << true;
        QTest::newRow("Nouveau1") << "Nouveau1"
                                  << "&Nouveau"
                                  << "" << 7 << true;
        QTest::newRow("Reprendre") << "Reprendrechoixencours1"
                                   << "&Reprendre choix en cours"
                                   << "" << 8 << true;
        QTest::newRow("Ouvrir1") << "Ouvrir1"
                                 << "&Ouvrir..."
                                 << "" << 9 << true;
        QTest::newRow("Enregistre1") << "Enregistre1"
                                     << "&Enregistrer..."
                                     << "" << 14 << true;
        QTest::newRow("Diagnostic1") << "Diagnostic1"
                                     << "&Diagnostic"
                                     << "" << 19 << true;
        QTest::newRow("Jours") << "Bilandeplusieursjours1" << QStringLiteral("Bilan de plusieurs &jours…") << ""
                               << 22 << true;
        QTest::newRow("Completer") << "Completerlaration1" << QStringLiteral("&Compléter la ration...") << ""
                                   << 20 << true;
        QTest::newRow("Indice") << "Indicedemassecorporelle1"
                                << "&Indice de masse corporelle"
                                << "" << -1 << true;
        QTest::newRow("Quitter1") << "Quitter1"
                                  << "&Quitter"
                                  << "Alt+X" << 24 << true;
        QTest::newRow("Table1") << "Table1"
                                << "&Table"
                                << "" << 36 << true;
        QTest::newRow("Consulter1") << "Consulter1"
                                    << "&Consulter table"
                                    << "" << 37 << true;
        QTest::newRow("Modifiertable1") << "Modifiertable1"
                                        << "&Modifier table"
                                        << "" << 48 << true;
        QTest::newRow("Composite") << "Crationdunalimentcompos1"
                                   << QStringLiteral("Création ou modification d'un &aliment composé") << ""
                                   << 55 << true;
        QTest::newRow("CIQUAL") << "AjouterdesalimentsCIQUAL1"
                                << QStringLiteral("Ajouter des al&iments CIQUAL…") << "" << 39 << true;
        QTest::newRow("Tridelatable1") << "Tridelatable1"
                                       << "&Tri de la table"
                                       << "" << 60 << true;
        QTest::newRow("Aide1") << "Aide1"
                               << "&Aide"
                               << "" << 61 << true;
        QTest::newRow("Index1") << "Index1"
                                << "&Index"
                                << "F1" << 62 << true;
        QTest::newRow("Apropos1") << "Apropos1"
                                  << "&A propos"
                                  << "" << 63 << true;
    }
    void menuItems() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(int, context);
        QFETCH(bool, enabled);
        QAction* a = action(name);
        if (auto* menu = m_diet->findChild<QMenu*>(name)) a = menu->menuAction();
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcut);
        QCOMPARE(Help::contextOf(a), context);
        QCOMPARE(a->isEnabled(), enabled);
    }

    void diagnosticGroups() {
        const QStringList captions = {"Enfant de 2 ans",
                                      "Enfant de 5 ans",
                                      "Enfant de 8 ans",
                                      "Fille de 11 ans",
                                      QStringLiteral("Garçon de 11 ans"),
                                      "Fille de 13 ans",
                                      QStringLiteral("Garçon de 13 ans"),
                                      "Fille de 17 ans",
                                      QStringLiteral("Garçon de 17 ans"),
                                      QStringLiteral("Femme sédentaire"),
                                      QStringLiteral("Homme sédentaire"),
                                      "Femme enceinte",
                                      "Femme allaitante",
                                      "Femme active",
                                      "Homme actif",
                                      QStringLiteral("Femme âgée"),
                                      QStringLiteral("Homme âgé")};
        const QStringList names = {"Enfantde2ans1",    "Enfantde5ans1",   "Enfantde8ans1",   "Fillede11ans1",
                                   "Garonde11ans1",    "Fillede13ans1",   "Garonde13ans1",   "Fillede17ans1",
                                   "Garonde17ans1",    "Femmesdentaire1", "Hommesdentaire1", "Femmeenceinte1",
                                   "Femmeallaitante1", "Femmeactive1",    "Hommeactif1",     "Femmeagee1",
                                   "Hommeage1"};
        // The seventeen groups, then a separator and the needs of a person.
        QList<QAction*> items = m_diet->Diagnostic1->actions();
        QCOMPARE(items.size(), 19);
        QVERIFY(items[17]->isSeparator());
        QCOMPARE(items[18]->objectName(), QStringLiteral("Unepersonne1"));
        QCOMPARE(items[18]->text(), QStringLiteral("Une &personne…"));
        QCOMPARE(Help::contextOf(items[18]), 21);
        items = items.mid(0, 17);
        QCOMPARE(items, m_diet->Groupes);
        QCOMPARE(namesOf(items), names);
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i]->text(), captions[i]);   // exactly, no access key added
            QVERIFY(!items[i]->text().contains(QLatin1Char('&')));
            QVERIFY(items[i]->isCheckable());
            QCOMPARE(Help::contextOf(items[i]), 19);
        }
    }

    void diagClickMovesCheckAndTitles() {
        QString captionWhenShown;
        m_during = [&](QDialog* d) { captionWhenShown = d->windowTitle(); };
        action("Hommeactif1")->trigger();
        action("Femmeenceinte1")->trigger();
        QCOMPARE(m_shown.size(), 2);
        QCOMPARE(m_shown.last(), static_cast<QDialog*>(m_diet->Fdiagnost));
        int checked = 0;
        for (QAction* a : m_diet->Groupes) checked += a->isChecked();
        QCOMPARE(checked, 1);
        QVERIFY(action("Femmeenceinte1")->isChecked());
        const QString suffix = QStringLiteral(" : bilan de la ration journalière");
        QCOMPARE(suffix.size(), 33);
        QCOMPARE(captionWhenShown, QStringLiteral("Femme enceinte") + suffix);
        QCOMPARE(captionWhenShown.chopped(33), QStringLiteral("Femme enceinte"));

        // Choosing the checked group again keeps its mark.
        action("Femmeenceinte1")->trigger();
        QVERIFY(action("Femmeenceinte1")->isChecked());
        m_diet->DiagClick(action("Garonde17ans1"));
        QVERIFY(action("Garonde17ans1")->isChecked());
        QVERIFY(!action("Femmeenceinte1")->isChecked());
        QCOMPARE(m_diet->Fdiagnost->windowTitle(), QStringLiteral("Garçon de 17 ans") + suffix);
    }

    // Fichier > Compléter la ration opens its window, made for this opening,
    // on the group last chosen in the Diagnostic submenu, which it may change.
    void completerOpensOnLastGroup() {
        action("Garonde13ans1")->trigger();
        m_shown.clear();
        QString group;
        bool fixed = true;
        m_during = [&](QDialog* d) {
            auto* w = qobject_cast<TFcompleter*>(d);
            QVERIFY(w);
            QCOMPARE(w->windowTitle(), QStringLiteral("Compléter la ration"));
            group = w->CBgroupe->currentText();
            fixed = !w->CBgroupe->isEnabled();
        };
        action("Completerlaration1")->trigger();
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(group, QStringLiteral("Garçon de 13 ans"));
        QVERIFY(!fixed);
    }

    // After a person's bilan, it works on that person's needs.
    void completerOpensOnLastPerson() {
        Person p;
        p.name = QStringLiteral("Jeanne");
        const PersonBilan bilan = PersonNeedsRules::bilanOf(p, Fixtures::efsaReference().table());
        for (QAction* g : m_diet->Groupes) g->setChecked(false);
        m_diet->Fdiagnost->setPerson(bilan);
        QString group;
        m_during = [&](QDialog* d) { group = qobject_cast<TFcompleter*>(d)->CBgroupe->currentText(); };
        action("Completerlaration1")->trigger();
        QCOMPARE(group, bilan.caption());
    }

    void commandsSetModesAndShow_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("composition");   // shows the composition window, else open/save
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("value");
        QTest::newRow("Reprendre") << "Reprendrechoixencours1" << true << "ModeCompose" << false;
        QTest::newRow("Composite") << "Crationdunalimentcompos1" << true << "ModeCompose" << true;
        QTest::newRow("Ouvrir") << "Ouvrir1" << false << "ModeEnregistrer" << false;
        QTest::newRow("Enregistrer") << "Enregistre1" << false << "ModeEnregistrer" << true;
    }
    void commandsSetModesAndShow() {
        QFETCH(QString, name);
        QFETCH(bool, composition);
        QFETCH(QString, flag);
        QFETCH(bool, value);
        bool& f = flag == "ModeCompose" ? m_session->ModeCompose : m_session->ModeEnregistrer;
        f = !value;
        bool flagWhenShown = !value;
        m_during = [&](QDialog*) { flagWhenShown = f; };
        action(name)->trigger();
        QDialog* expected =
            composition ? static_cast<QDialog*>(m_diet->Fcompose) : static_cast<QDialog*>(m_diet->Fouvrir);
        QCOMPARE(m_shown, QList<QDialog*>({expected}));
        QCOMPARE(flagWhenShown, value);
    }

    // A day that composite mode could not put back (choix.tmp) is put back
    // by the next command that uses the day; while it cannot be, the command
    // stops with the message and the ingredient list is not taken for the day.
    void dayCommandsPutTheDayBackFirst_data() {
        QTest::addColumn<QString>("name");
        for (const char* n : {"Reprendrechoixencours1", "Ouvrir1", "Enregistre1", "Femmeactive1"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void dayCommandsPutTheDayBackFirst() {
        QFETCH(QString, name);
        const QByteArray list = Files::bytesOf(file("choix0.dbf"));
        Fixtures::appendRecords(choiceSchema(), file("CHOIX.DBF"), {{{"NOM", QStringLiteral("Jour")}}});
        const QByteArray day = Files::bytesOf(file("CHOIX.DBF"));
        QVERIFY(QFile::rename(file("CHOIX.DBF"), file("choix.tmp")));
        QVERIFY(Files::writeBytes(file("CHOIX.DBF"), list));
        {
            ScriptedPrompter p(m_dir.run());
            m_dir.run().seam().failAt(FileSeam::Op::Rename, 1, FileSeam::Fault::IoError, true);
            action(name)->trigger();
            m_dir.run().seam().reset();
            QCOMPARE(p.asked.size(), 1);
            QVERIFY2(p.lastText().contains(QStringLiteral("gardé dans le fichier choix.tmp")),
                     qPrintable(p.lastText()));
            QVERIFY(m_shown.isEmpty());
            QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), list);
        }
        action(name)->trigger();
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), day);
        QVERIFY(!QFile::exists(file("choix.tmp")));
    }

    void tableCommandsShowTheirWindows() {
        action("Consulter1")->trigger();
        action("Modifiertable1")->trigger();
        QCOMPARE(m_shown, QList<QDialog*>({m_diet->Fconsult, m_diet->Fmodif}));
    }

    // Table > Ajouter des aliments CIQUAL… opens its window, made for this
    // opening. A CIQUAL table that cannot be read greys the entry, with the
    // reason naming the file as its hint; the other commands work.
    void ciqualEntryNeedsItsTable_data() {
        QTest::addColumn<QString>("content");   // "": the built table
        QTest::addColumn<QString>("reason");    // "": the entry works
        QTest::newRow("built table") << ""
                                     << "";
        QTest::newRow("absent") << "absent"
                                << "fichier introuvable";
        QTest::newRow("damaged") << "cut"
                                 << "CIQUAL.DBF";
        QTest::newRow("another table") << "food"
                                       << "il n'a pas le champ CODE";
    }
    void ciqualEntryNeedsItsTable() {
        QFETCH(QString, content);
        QFETCH(QString, reason);
        const QString path = file("CIQUAL.DBF");
        QFile::remove(path);
        if (content == "cut")
            QVERIFY(Files::writeBytes(path, Files::bytesOf(Fixtures::ciqualTable()).left(5000)));
        if (content == "food") QVERIFY(QFile::copy(file("DIETAB.DBF"), path));
        m_session->setCiqualFile(content.isEmpty() ? Fixtures::ciqualTable() : path);
        const QString why = m_diet->verifieTableCiqual();
        QAction* entry = action("AjouterdesalimentsCIQUAL1");
        QCOMPARE(entry->isEnabled(), reason.isEmpty());
        if (reason.isEmpty()) {
            QVERIFY(why.isEmpty());
            QString title;
            m_during = [&](QDialog* d) { title = d->windowTitle(); };
            entry->trigger();
            QCOMPARE(m_shown.size(), 1);
            QCOMPARE(title, QStringLiteral("Aliments CIQUAL 2020"));
        } else {
            QVERIFY2(why.contains(QDir::toNativeSeparators(path)) && why.contains(reason), qPrintable(why));
            QCOMPARE(entry->toolTip(), why);
            action("Consulter1")->trigger();
            QCOMPARE(m_shown, QList<QDialog*>({static_cast<QDialog*>(m_diet->Fconsult)}));
        }
        QFile::remove(path);
        m_session->setCiqualFile(Fixtures::ciqualTable());
        m_diet->verifieTableCiqual();
    }

    void compositeHelpContext() {
        int during = -1;
        m_during = [&](QDialog* d) { during = Help::contextOf(d); };
        action("Crationdunalimentcompos1")->trigger();
        QCOMPARE(during, 55);
        QCOMPARE(Help::contextOf(m_diet->Fcompose), 25);
        action("Reprendrechoixencours1")->trigger();
        QCOMPARE(during, 25);
    }

    // A day that holds lines is emptied only on Oui (Non by default); an
    // empty day starts at once.
    void nouveauEmptiesTheChoice_data() {
        QTest::addColumn<bool>("lines");
        QTest::addColumn<QVariant>("answer");   // null: no question expected
        QTest::newRow("lines, answered Oui") << true << QVariant(true);
        QTest::newRow("lines, answered Non") << true << QVariant(false);
        QTest::newRow("empty day: no question") << false << QVariant();
    }
    void nouveauEmptiesTheChoice() {
        QFETCH(bool, lines);
        QFETCH(QVariant, answer);
        QVERIFY(Files::writeBytes(file("CHOIX.DBF"), Files::bytesOf(file("choix0.dbf"))));
        if (lines) {
            QVariantMap line;
            line["NOM"] = QStringLiteral("Pomme");
            line["QTE"] = 150.0;
            Fixtures::appendRecords(choiceSchema(), file("CHOIX.DBF"), {line});
        }
        const QByteArray before = Files::bytesOf(file("CHOIX.DBF"));
        m_session->ModeCompose = true;
        ScriptedPrompter p(m_dir.run());
        if (answer.isValid()) p.answer(answer.toBool());
        action("Nouveau1")->trigger();
        QCOMPARE(p.asked.size(), answer.isValid() ? 1 : 0);
        if (answer.isValid()) {
            QCOMPARE(p.asked[0].text, QStringLiteral("Effacer le choix en cours ?"));
            QCOMPARE(p.asked[0].byDefault, Prompter::Default::No);
        }
        const bool emptied = !answer.isValid() || answer.toBool();
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), emptied ? Files::bytesOf(file("choix0.dbf")) : before);
        QCOMPARE(m_session->ModeCompose, !emptied);
        QCOMPARE(m_shown, emptied ? QList<QDialog*>({m_diet->Fcompose}) : QList<QDialog*>());
    }

    void nouveauWithoutTemplate() {
        QVariantMap line;
        line["NOM"] = QStringLiteral("Beurre");
        line["QTE"] = 10.0;
        Fixtures::appendRecords(choiceSchema(), file("CHOIX.DBF"), {line});
        const QByteArray before = Files::bytesOf(file("CHOIX.DBF"));
        const QByteArray templ = Files::bytesOf(file("choix0.dbf"));
        QVERIFY(QFile::remove(file("choix0.dbf")));
        ScriptedPrompter p(m_dir.run());
        p.answer(true);
        action("Nouveau1")->trigger();
        QCOMPARE(p.asked.size(), 2);
        QCOMPARE(p.asked.last().kind, Prompter::Kind::Error);
        QVERIFY2(p.lastText().contains(QStringLiteral("hoix0"), Qt::CaseInsensitive), qPrintable(p.lastText()));
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), before);
        QVERIFY(m_shown.isEmpty());   // the composition window does not open
        QVERIFY(Files::writeBytes(file("choix0.dbf"), templ));
    }

    void indexOpensContext0() {
        m_dir.run().setHelpFile(QStringLiteral("AUTRE.HLP"));
        action("Index1")->trigger();
        QCOMPARE(m_dir.run().helpFile(), QStringLiteral("DIETAIDE.HLP"));
        QCOMPARE(m_desktop->lastHelpContext(), 0);
        QVERIFY(HelpViewer::of(*m_desktop));
        QVERIFY(HelpViewer::of(*m_desktop)->isVisible());
        QCOMPARE(HelpViewer::of(*m_desktop)->currentContext(), 0);
        HelpViewer::of(*m_desktop)->close();
    }

    void f1InWindows() {
        // The main window: F1 is Aide > Index.
        m_diet->show();
        QVERIFY(QTest::qWaitForWindowActive(m_diet));
        m_desktop->showHelp(-5);
        QTest::keyClick(m_diet, Qt::Key_F1);
        QCOMPARE(m_desktop->lastHelpContext(), 0);
        HelpViewer::of(*m_desktop)->close();

        // The open/save dialog: its own context.
        QDialog* ouvrir = m_diet->Fouvrir;
        ouvrir->show();
        QTest::qWait(20);   // lets the help viewer's closing settle first
        ouvrir->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ouvrir));
        QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(ouvrir));
        QTest::keyClick(ouvrir, Qt::Key_F1);
        QCOMPARE(m_desktop->lastHelpContext(), 9);
        ouvrir->hide();

        // A menu open on a highlighted item: that item's context.
        m_diet->Fichier1->popup(m_diet->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(m_diet->Fichier1));
        m_diet->Fichier1->setActiveAction(action("Enregistre1"));
        QCOMPARE(Help::contextForF1(m_diet), 14);
        m_diet->Fichier1->setActiveAction(nullptr);
        QCOMPARE(Help::contextForF1(m_diet), 6);
        m_diet->Fichier1->hide();

        if (HelpViewer::of(*m_desktop)) HelpViewer::of(*m_desktop)->close();
    }

    void quitterReleasesTotals() {
        m_diet->show();
        m_session->totals().v[DailyTotals::QTE] = 150;
        action("Quitter1")->trigger();
        QVERIFY(!m_diet->isVisible());
        for (double v : m_session->totals().v) QCOMPARE(v, 0.0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
