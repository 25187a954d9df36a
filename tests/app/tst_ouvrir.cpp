// Saving the day's choice to a .dat file and opening one again: the OK
// button's decisions (names, extension, overwrite, files that are not Choice
// tables) and the dialog TFouvrir around them.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "core/compose/choicefiles.h"
#include "app/ouvrir.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "core/session/session.h"
#include "ui/help.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"

namespace {
QVariantMap line(const QString& nom, double qte) {
    QVariantMap m;
    m["NOM"] = nom;
    m["QTE"] = qte;
    m["PROT_A"] = qte / 10;
    return m;
}
QStringList choiceNames(RunContext& run, const QString& name) {
    Table t(run, choiceSchema());
    t.setFileName(name);
    t.open();
    QStringList names;
    for (t.first(); !t.eof(); t.next()) names << t.asString("NOM");
    t.close();
    return names;
}
const QString kExtension = QStringLiteral("Extension DAT exigée");
}   // namespace

class TestOuvrir : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDataDir> m_dir;
    QByteArray m_choix;

    QString file(const QString& n) const { return m_dir->file(n); }

private slots:
    void init() {
        m_dir = std::make_unique<TempDataDir>();
        QVERIFY(m_dir->isValid());
        Fixtures::writeAllTables(m_dir->path());
        Fixtures::appendRecords(choiceSchema(), file("CHOIX.DBF"),
                                {line(QStringLiteral("Pomme"), 150), line(QStringLiteral("Pain blanc"), 80)});
        m_choix = Files::bytesOf(file("CHOIX.DBF"));
        QVERIFY(!m_choix.isEmpty());
    }
    void cleanup() { m_dir.reset(); }

    // Save mode: what is written, and what the user is told.
    void save_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");   // file expected, empty for none
        QTest::addColumn<QString>("message");   // start of the message, empty for none
        QTest::newRow("lundi.DAT") << "lundi.DAT"
                                   << "lundi.DAT"
                                   << "";
        QTest::newRow("lundi.txt") << "lundi.txt"
                                   << "" << kExtension;
        QTest::newRow("lundi") << "lundi"
                               << "" << kExtension;
        QTest::newRow("semaine1.data") << "semaine1.data"
                                       << "semaine1.dat"
                                       << "";
        QTest::newRow("mon-menu-du-jour.dat") << "mon-menu-du-jour.dat"
                                              << "" << kExtension;
        QTest::newRow("accented name") << "été.dat"
                                       << "été.dat"
                                       << "";
        QTest::newRow("mixed-case extension") << "Jour.dAt"
                                              << "Jour.dAt"
                                              << "";
        QTest::newRow("shorter than the extension") << "at"
                                                    << "" << kExtension;
        QTest::newRow("parent directory") << "../fuite.dat"
                                          << ""
                                          << "Nom de fichier refusé";
        QTest::newRow("sub-directory") << "sous/lundi.dat"
                                       << ""
                                       << "Nom de fichier refusé";
        QTest::newRow("backslash") << "a\\lundi.dat"
                                   << ""
                                   << "Nom de fichier refusé";
        QTest::newRow("absolute") << "/tmp/x.dat"
                                  << ""
                                  << "Nom de fichier refusé";
        QTest::newRow("mask left in the box") << "*.dat"
                                              << ""
                                              << "Nom de fichier refusé";
        QTest::newRow("no name before the extension") << ".dat"
                                                      << ""
                                                      << "Nom de fichier refusé";
    }
    void save() {
        QFETCH(QString, text);
        QFETCH(QString, written);
        QFETCH(QString, message);
        const QStringList before = QDir(m_dir->path()).entryList(QDir::Files);
        ScriptedPrompter p(m_dir->run());
        const auto suite = ChoiceFiles::enregistrer(m_dir->run(), text);
        QCOMPARE(p.unexpected, 0);
        if (written.isEmpty()) {
            QCOMPARE(suite, ChoiceFiles::Suite::Reste);
            QCOMPARE(p.asked.size(), 1);
            QVERIFY2(p.lastText().startsWith(message), qPrintable(p.lastText()));
            QCOMPARE(p.asked.first().kind, Prompter::Kind::Warning);
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), before);
            QVERIFY(!QFile::exists(QDir(m_dir->path()).filePath("../fuite.dat")));
        } else {
            QCOMPARE(suite, ChoiceFiles::Suite::Ferme);
            QVERIFY(p.asked.isEmpty());   // no message confirms the saving
            QCOMPARE(Files::bytesOf(file(written)), m_choix);
        }
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), m_choix);
    }

    // The question names the file that will be replaced, whatever case the
    // name was typed in; a name several files bear in different cases is
    // not guessed.
    void overwrite_data() {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("replaced");   // "" when nothing is written
        const QStringList lundi{"lundi.dat"};
        QTest::newRow("Non keeps the file") << lundi << "lundi.dat" << false << "Voulez vous écraser lundi.dat?"
                                            << "";
        QTest::newRow("Oui replaces it") << lundi << "lundi.dat" << true << "Voulez vous écraser lundi.dat?"
                                         << "lundi.dat";
        QTest::newRow("typed in another case")
            << QStringList{"MARDI.dat"} << "mardi.dat" << true << "Voulez vous écraser MARDI.dat?"
            << "MARDI.dat";
        QTest::newRow("exact name among others")
            << QStringList{"MARDI.dat", "mardi.dat"} << "mardi.dat" << true << "Voulez vous écraser mardi.dat?"
            << "mardi.dat";
        QTest::newRow("several in other cases")
            << QStringList{"MARDI.dat", "Mardi.DAT"} << "mardi.dat" << true
            << "Plusieurs fichiers portent le nom mardi.dat en majuscules ou en minuscules : "
               "MARDI.dat, Mardi.DAT."
            << "";
    }
    void overwrite() {
        QFETCH(QStringList, existing);
        QFETCH(QString, typed);
        QFETCH(bool, yes);
        QFETCH(QString, said);
        QFETCH(QString, replaced);
        const QByteArray old("ancien contenu");
        for (const QString& name : existing) QVERIFY(Files::writeBytes(m_dir->file(name), old));
        ScriptedPrompter p(m_dir->run());
        p.answer(yes);
        const auto suite = ChoiceFiles::enregistrer(m_dir->run(), typed);
        QCOMPARE(p.asked.size(), 1);
        QVERIFY2(p.lastText().startsWith(said), qPrintable(p.lastText()));
        QCOMPARE(suite, replaced.isEmpty() ? ChoiceFiles::Suite::Reste : ChoiceFiles::Suite::Ferme);
        for (const QString& name : existing)
            QCOMPARE(Files::bytesOf(m_dir->file(name)), name == replaced ? m_choix : old);
        QCOMPARE(QDir(m_dir->path()).entryList({"*.dat"}, QDir::Files, QDir::Name), existing);
    }

    // Open mode: a name that picks no file does nothing and says nothing.
    void openNothing_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("mask") << "*.dat";
        QTest::newRow("other extension") << "lundi.txt";
        QTest::newRow("empty") << "";
    }
    void openNothing() {
        QFETCH(QString, text);
        QVERIFY(Files::writeBytes(file("lundi.txt"), "x"));
        ScriptedPrompter p(m_dir->run());
        QCOMPARE(ChoiceFiles::ouvrir(m_dir->run(), text), ChoiceFiles::Suite::Reste);
        QVERIFY(p.asked.isEmpty());
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), m_choix);
    }

    void openOutsideRefused() {
        ScriptedPrompter p(m_dir->run());
        QCOMPARE(ChoiceFiles::ouvrir(m_dir->run(), QStringLiteral("../autre.dat")), ChoiceFiles::Suite::Reste);
        QCOMPARE(p.asked.size(), 1);
        QVERIFY(p.lastText().startsWith(QStringLiteral("Nom de fichier refusé")));
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), m_choix);
    }

    // A file that is not a Choice table never replaces the day's choice.
    void openNotAChoice_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("Food table renamed") << "food";
        QTest::newRow("Composite table renamed") << "composite";
        QTest::newRow("plain text") << "text";
        QTest::newRow("truncated Choice table") << "truncated";
        QTest::newRow("empty file") << "empty";
    }
    void openNotAChoice() {
        QFETCH(QString, kind);
        const QString target = file("autre.dat");
        if (kind == "food")
            QFile::copy(file("DIETAB.DBF"), target);
        else if (kind == "composite")
            QFile::copy(file("Alimcomp.DBF"), target);
        else if (kind == "text")
            QVERIFY(Files::writeBytes(target, "Liste de courses : pain, lait, pommes\n"));
        else if (kind == "truncated")
            QVERIFY(Files::writeBytes(target, m_choix.left(m_choix.size() - 40)));
        else
            QVERIFY(Files::writeBytes(target, QByteArray()));
        ScriptedPrompter p(m_dir->run());
        QCOMPARE(ChoiceFiles::ouvrir(m_dir->run(), QStringLiteral("autre.dat")), ChoiceFiles::Suite::Reste);
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked.first().kind, Prompter::Kind::Warning);
        QVERIFY2(p.lastText().contains(QStringLiteral("« autre.dat »")), qPrintable(p.lastText()));
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), m_choix);
    }

    void dialogLayout() {
        Session& session = m_dir->session();
        TFouvrir d(session);
        QCOMPARE(d.size(), QSize(271, 185));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCOMPARE(d.Label1->text(), QStringLiteral("&Nom de fichier"));
        QCOMPARE(d.Label1->buddy(), static_cast<QWidget*>(d.Eouvrir));
        QCOMPARE(d.BBok->text(), QStringLiteral("OK"));
        QVERIFY(d.BBok->isDefault());
        QCOMPARE(d.BBannuler->text(), QStringLiteral("Annuler"));
        QCOMPARE(Help::contextOf(&d), 9);
    }

    void dialogModes_data() {
        QTest::addColumn<bool>("enregistrer");
        QTest::addColumn<QString>("caption");
        QTest::newRow("save") << true << "Enregistrer";
        QTest::newRow("open") << false << "Ouvrir";
    }
    void dialogModes() {
        QFETCH(bool, enregistrer);
        QFETCH(QString, caption);
        QVERIFY(Files::writeBytes(file("mardi.dat"), m_choix));
        QVERIFY(Files::writeBytes(file("Lundi.DAT"), m_choix));
        QVERIFY(Files::writeBytes(file("notes.txt"), "x"));
        Session& session = m_dir->session();
        TFouvrir d(session);
        session.ModeEnregistrer = enregistrer;
        d.prepare();
        QCOMPARE(d.windowTitle(), caption);
        QCOMPARE(d.Eouvrir->isReadOnly(), !enregistrer);
        QCOMPARE(d.Eouvrir->text(), QStringLiteral("*.dat"));
        QStringList listed;
        for (int i = 0; i < d.FLBouvrir->count(); ++i) listed << d.FLBouvrir->item(i)->text();
        QCOMPARE(listed, QStringList({"Lundi.DAT", "mardi.dat"}));
        QVERIFY(d.FLBouvrir->selectedItems().isEmpty());

        // Selecting writes the name and selects it; no selection shows the mask.
        d.FLBouvrir->item(1)->setSelected(true);
        QCOMPARE(d.Eouvrir->text(), QStringLiteral("mardi.dat"));
        QCOMPARE(d.Eouvrir->selectedText(), QStringLiteral("mardi.dat"));
        d.FLBouvrir->clearSelection();
        QCOMPARE(d.Eouvrir->text(), QStringLiteral("*.dat"));

        // Files saved since are listed at the next showing.
        QVERIFY(Files::writeBytes(file("jeudi.dat"), m_choix));
        d.prepare();
        QCOMPARE(d.FLBouvrir->count(), 3);
        QCOMPARE(d.FLBouvrir->item(0)->text(), QStringLiteral("jeudi.dat"));
    }

    void dialogSaves() {
        Session& session = m_dir->session();
        TFouvrir d(session);
        session.ModeEnregistrer = true;
        d.prepare();
        ScriptedPrompter p(m_dir->run());
        d.Eouvrir->setText(QStringLiteral("lundi.txt"));
        d.BBokClick();
        QCOMPARE(p.lastText(), kExtension);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        d.Eouvrir->setText(QStringLiteral("semaine1.data"));
        d.BBokClick();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(Files::bytesOf(file("semaine1.dat")), m_choix);
    }

    void dialogOpensAndResumes() {
        const QString mardi = file("mardi.dat");
        QFile::copy(file("choix0.dbf"), mardi);
        Fixtures::appendRecords(choiceSchema(), mardi,
                                {line(QStringLiteral("Yaourt nature"), 125), line(QStringLiteral("Beurre"), 10),
                                 line(QStringLiteral("Épinards, cuits"), 200)});
        Session& session = m_dir->session();
        TFouvrir d(session);
        session.ModeEnregistrer = false;
        session.ModeCompose = true;
        QStringList shown;
        int resumed = 0;
        d.setResume([&] {
            ++resumed;
            shown = choiceNames(m_dir->run(), QStringLiteral("choix.dbf"));
        });
        d.prepare();
        ScriptedPrompter p(m_dir->run());
        d.BBokClick();   // the mask: nothing happens
        QCOMPARE(resumed, 0);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), m_choix);

        d.FLBouvrir->item(0)->setSelected(true);
        d.BBokClick();
        QVERIFY(p.asked.isEmpty());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(resumed, 1);
        QCOMPARE(shown, QStringList({"Yaourt nature", "Beurre", QStringLiteral("Épinards, cuits")}));
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), Files::bytesOf(mardi));
    }

    void dialogFileErrorStaysOpen() {
        // choix.dbf missing: the copy's own message, the dialog stays open.
        QFile::remove(file("CHOIX.DBF"));
        Session& session = m_dir->session();
        TFouvrir d(session);
        session.ModeEnregistrer = true;
        d.prepare();
        ScriptedPrompter p(m_dir->run());
        d.Eouvrir->setText(QStringLiteral("lundi.dat"));
        d.BBokClick();
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked.first().kind, Prompter::Kind::Error);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(file("lundi.dat")));
    }

    void f1ShowsContext9() {
        Session& session = m_dir->session();
        ScriptedDesktop desktop(session.run());
        desktop.installF1Handler();
        TFouvrir d(session);
        session.ModeEnregistrer = true;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::keyClick(d.Eouvrir, Qt::Key_F1);
        QCOMPARE(desktop.lastHelpContext(), 9);
    }
};

QTEST_MAIN(TestOuvrir)
#include "tst_ouvrir.moc"
