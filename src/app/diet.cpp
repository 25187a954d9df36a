#include "app/diet.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>

#include "app/aprop.h"
#include "app/imageaccueil.h"
#include "bmi/indice.h"
#include "compose/compose.h"
#include "foodtable/dietri.h"
#include "foodtable/ciqual.h"
#include "foodtable/consult.h"
#include "foodtable/modif.h"
#include "core/ciqual/ciqualcatalogue.h"
#include "core/interfaces/prompter.h"
#include "core/compose/choicefiles.h"
#include "core/compose/dailytotals.h"
#include "diagnosis/diagnost.h"
#include "diagnosis/personne.h"
#include "diagnosis/jours.h"
#include "core/diagnosis/needs.h"
#include "core/needs/efsareference.h"
#include "app/ouvrir.h"
#include "core/schema/schema.h"
#include "core/io/runcontext.h"
#include "core/session/session.h"
#include "ui/desktop.h"
#include "ui/errorhandler.h"
#include "ui/help.h"
#include "ui/icons.h"
#include "suggest/completer.h"

namespace {

const int kContexteComposition = 25;
const int kContexteCompose = 55;

// Tool-tip hints wait 500 ms before they appear, in every window.
class StyleNutrimo : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 500;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

QAction* item(QMenu* menu, const char* name, const QString& caption, int context) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    if (context >= 0) Help::setContext(a, context);
    return a;
}

// Home and End go to the first and the last item of a menu (Qt's menus move
// only when they scroll), so that "Une personne…", last of the Diagnostic
// submenu, is one key away.
class HomeEnd : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* menu = qobject_cast<QMenu*>(watched);
        if (!menu || event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Home && key != Qt::Key_End) return false;
        QList<QAction*> items;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isVisible() && a->isEnabled()) items << a;
        if (!items.isEmpty()) menu->setActiveAction(key == Qt::Key_Home ? items.first() : items.last());
        return true;
    }
};

QMenu* submenu(QWidget* parent, const char* name, const QString& caption, int context) {
    auto* m = new QMenu(caption, parent);
    m->installEventFilter(new HomeEnd(m));
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    Help::setContext(m, context);
    Help::setContext(m->menuAction(), context);
    return m;
}

QAction* separator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QLatin1String(name));
    return a;
}

}   // namespace

TFdiet::TFdiet(Session& session, Desktop& desktop, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_desktop(desktop) {
    setObjectName(QStringLiteral("Fdiet"));
    setAttribute(Qt::WA_QuitOnClose, true);
    FormCreate();
    creeFenetres();
    creeMenus();
    creeContenu();
}

TFdiet::~TFdiet() = default;

template <class F>
void TFdiet::command(F&& f) {
    ErrorHandler::run(m_session.prompter(), std::forward<F>(f));
}

void TFdiet::creeFenetres() {
    // EFSA's values are installed beside the supplied tables.
    m_efsa = std::make_unique<EfsaReference>(EfsaReference::locate(QCoreApplication::applicationDirPath()));
    // The windows it opens are its children from their making: modal over
    // it, gone with it.
    Fmodif = new TFmodif(m_session, this);
    Fconsult = new TFconsult(m_session, m_desktop, this);
    Fcompose = new TFcompose(m_session, m_desktop, this);
    Fouvrir = new TFouvrir(m_session, this);
    Fouvrir->setResume([this] { Reprendrechoixencours1Click(); });
    Fdiagnost = new TFdiagnost(m_session, m_desktop, this);
    // Page 2 of the diagnosis opens the ranking of a nutrient, made for that
    // opening and gone when it closes, as from the Table menu.
    TFdiagnost* diagnost = Fdiagnost;
    diagnost->setOpenRanking([this, diagnost](const QString& champ) {
        TFDietri fdietri(m_desktop, diagnost);
        fdietri.setInitialField(champ);
        m_desktop.run(fdietri);
    });
    // "Compléter la ration" for the group or the person of the bilan shown,
    // made for that opening; the bilan reads the day again when lines were
    // added.
    diagnost->setOpenCompletion([this, diagnost](const QString& groupe, const PersonBilan* personne) {
        TFcompleter completer(m_session, *m_efsa, diagnost);
        if (personne)
            completer.setPerson(groupe, personne->needs, personne->limits);
        else
            completer.setGroup(groupe, true);
        return m_desktop.run(completer) == QDialog::Accepted;
    });
}

void TFdiet::FormCreate() {
    if (!dynamic_cast<StyleNutrimo*>(QApplication::style()))
        QApplication::setStyle(new StyleNutrimo(QApplication::style()->name()));

    RazTotaux(m_session.totals());
    m_session.FirstPaint = true;
    m_session.run().setHelpFile(FileNames::aide());
}

void TFdiet::creeMenus() {
    QMenuBar* bar = menuBar();

    Fichier1 = submenu(this, "Fichier1", QStringLiteral("&Fichier"), 6);
    Nouveau1 = item(Fichier1, "Nouveau1", QStringLiteral("&Nouveau"), 7);
    Reprendrechoixencours1 =
        item(Fichier1, "Reprendrechoixencours1", QStringLiteral("&Reprendre choix en cours"), 8);
    Ouvrir1 = item(Fichier1, "Ouvrir1", QStringLiteral("&Ouvrir..."), 9);
    Enregistre1 = item(Fichier1, "Enregistre1", QStringLiteral("&Enregistrer..."), 14);
    N2 = separator(Fichier1, "N2");
    Diagnostic1 = submenu(Fichier1, "Diagnostic1", QStringLiteral("&Diagnostic"), 19);
    Fichier1->addMenu(Diagnostic1);
    Bilandeplusieursjours1 =
        item(Fichier1, "Bilandeplusieursjours1", QStringLiteral("Bilan de plusieurs &jours…"), 22);
    Completerlaration1 = item(Fichier1, "Completerlaration1", QStringLiteral("&Compléter la ration..."), 20);
    N4 = separator(Fichier1, "N4");
    Indicedemassecorporelle1 =
        item(Fichier1, "Indicedemassecorporelle1", QStringLiteral("&Indice de masse corporelle"), -1);
    N1 = separator(Fichier1, "N1");
    Quitter1 = item(Fichier1, "Quitter1", QStringLiteral("&Quitter"), 24);
    Quitter1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));

    Table1 = submenu(this, "Table1", QStringLiteral("&Table"), 36);
    Consulter1 = item(Table1, "Consulter1", QStringLiteral("&Consulter table"), 37);
    Modifiertable1 = item(Table1, "Modifiertable1", QStringLiteral("&Modifier table"), 48);
    Crationdunalimentcompos1 = item(Table1, "Crationdunalimentcompos1",
                                    QStringLiteral("Création ou modification d'un &aliment composé"), 55);
    AjouterdesalimentsCIQUAL1 =
        item(Table1, "AjouterdesalimentsCIQUAL1", QStringLiteral("Ajouter des al&iments CIQUAL…"), 39);
    // A greyed entry says why in its hint.
    Table1->setToolTipsVisible(true);
    N3 = separator(Table1, "N3");
    Tridelatable1 = item(Table1, "Tridelatable1", QStringLiteral("&Tri de la table"), 60);

    Aide1 = submenu(this, "Aide1", QStringLiteral("&Aide"), 61);
    Index1 = item(Aide1, "Index1", QStringLiteral("&Index"), 62);
    Index1->setShortcut(QKeySequence(Qt::Key_F1));
    Apropos1 = item(Aide1, "Apropos1", QStringLiteral("&A propos"), 63);

    bar->addMenu(Fichier1);
    bar->addMenu(Table1);
    bar->addMenu(Aide1);

    // The group names are shown exactly as they are: no access key is added.
    // DiagClick keeps the check mark on one group (a check mark, not the
    // radio dot an exclusive action group would draw).
    for (const PopulationGroup& g : populationGroups()) {
        QAction* a = item(Diagnostic1, g.menuItem, g.caption, 19);
        a->setCheckable(true);
        Groupes << a;
        connect(a, &QAction::triggered, this, [this, a] { DiagClick(a); });
    }
    N5 = separator(Diagnostic1, "N5");
    Unepersonne1 = item(Diagnostic1, "Unepersonne1", QStringLiteral("Une &personne…"), 21);
    connect(Unepersonne1, &QAction::triggered, this, &TFdiet::Unepersonne1Click);


    connect(Nouveau1, &QAction::triggered, this, &TFdiet::Nouveau1Click);
    connect(Reprendrechoixencours1, &QAction::triggered, this, &TFdiet::Reprendrechoixencours1Click);
    connect(Ouvrir1, &QAction::triggered, this, &TFdiet::Ouvrir1Click);
    connect(Enregistre1, &QAction::triggered, this, &TFdiet::Enregistre1Click);
    connect(Quitter1, &QAction::triggered, this, &TFdiet::Quitter1Click);
    connect(Consulter1, &QAction::triggered, this, &TFdiet::Consulter1Click);
    connect(Modifiertable1, &QAction::triggered, this, &TFdiet::Modifiertable1Click);
    connect(Crationdunalimentcompos1, &QAction::triggered, this, &TFdiet::Crationdunalimentcompos1Click);
    connect(AjouterdesalimentsCIQUAL1, &QAction::triggered, this, &TFdiet::AjouterdesalimentsCIQUAL1Click);
    connect(Index1, &QAction::triggered, this, &TFdiet::Index1Click);
    connect(Tridelatable1, &QAction::triggered, this, &TFdiet::Tridelatable1Click);
    connect(Indicedemassecorporelle1, &QAction::triggered, this, &TFdiet::Indicedemassecorporelle1Click);
    connect(Apropos1, &QAction::triggered, this, &TFdiet::Apropos1Click);
    connect(Completerlaration1, &QAction::triggered, this, &TFdiet::Completerlaration1Click);
    connect(Bilandeplusieursjours1, &QAction::triggered, this, &TFdiet::Bilandeplusieursjours1Click);
}

void TFdiet::creeContenu() {
    setWindowTitle(QStringLiteral("Nutrimo"));
    QFont bold = QApplication::font();
    bold.setBold(true);
    setFont(bold);
    // The window's bold font is for its own texts; the menu bar keeps the
    // system's regular font.
    QFont regular = QApplication::font();
    regular.setBold(false);
    menuBar()->setFont(regular);
    setContextMenuPolicy(Qt::NoContextMenu);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Fond"));
    // Nothing on the window reacts to the mouse: all work starts from the menu.
    central->setAttribute(Qt::WA_TransparentForMouseEvents);

    Titre = new QLabel(QStringLiteral("LOGICIEL DE NUTRIMO"), central);
    Titre->setObjectName(QStringLiteral("Titre"));
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPixelSize(32);
    titleFont.setBold(true);
    Titre->setFont(titleFont);
    Titre->setStyleSheet(QStringLiteral("color: #ff0000;"));
    Titre->setAlignment(Qt::AlignCenter);

    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(295, 223);
    Image1->setScaledContents(true);
    const QPixmap picture = imageAccueil();
    Image1->setPixmap(picture);
    setWindowIcon(Icons::application());

    Slogan = new QLabel(QStringLiteral("Mangez-vous bien ?"), central);
    Slogan->setObjectName(QStringLiteral("Slogan"));
    QFont sloganFont(QStringLiteral("Times New Roman"));
    sloganFont.setPixelSize(27);
    sloganFont.setBold(false);
    Slogan->setFont(sloganFont);
    Slogan->setStyleSheet(QStringLiteral("color: #0000ff;"));
    Slogan->setAlignment(Qt::AlignCenter);

    Auteur = new QLabel(QStringLiteral("Nutrimo 5.3 — l'équipe Nutrimo, 2026"), central);
    Auteur->setObjectName(QStringLiteral("Auteur"));
    QFont small = QApplication::font();
    small.setBold(false);
    small.setPointSizeF(small.pointSizeF() * 0.85);
    Auteur->setFont(small);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(12, 14, 12, 8);
    layout->setSpacing(0);
    layout->addWidget(Titre);
    layout->addSpacing(14);
    layout->addWidget(Image1, 0, Qt::AlignHCenter);
    layout->addSpacing(16);
    layout->addWidget(Slogan);
    layout->addStretch(1);
    layout->addWidget(Auteur, 0, Qt::AlignRight | Qt::AlignBottom);
    setCentralWidget(central);

    resize(640, 480);
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(320, 240));
    }
}

void TFdiet::montre(QDialog* window) {
    if (window) m_desktop.run(*window);
}

// Every command that uses the day's choice first puts back a day that
// composite mode could not put back (ChoiceFiles::remetJourDeCote), and
// stops with the message saying where the day is when it still cannot: the
// ingredient list left in its place is never taken for the day.

void TFdiet::Nouveau1Click() {
    command([&] {
        ChoiceFiles::remetJourDeCote(m_session.run());
        // The day's choice becomes a copy of the empty template, once the
        // user agrees to lose the lines it holds; a missing template stops
        // here and the choice stays as it was.
        if (!ChoiceFiles::nouveauChoix(m_session.run())) return;
        m_session.ModeCompose = false;
        montre(Fcompose);
    });
}

void TFdiet::Reprendrechoixencours1Click() {
    command([&] {
        ChoiceFiles::remetJourDeCote(m_session.run());
        m_session.ModeCompose = false;
        montre(Fcompose);
    });
}

void TFdiet::Ouvrir1Click() {
    command([&] {
        ChoiceFiles::remetJourDeCote(m_session.run());
        m_session.ModeEnregistrer = false;
        montre(Fouvrir);
    });
}

void TFdiet::Enregistre1Click() {
    command([&] {
        ChoiceFiles::remetJourDeCote(m_session.run());
        m_session.ModeEnregistrer = true;
        montre(Fouvrir);
    });
}

void TFdiet::Quitter1Click() {
    command([&] { close(); });
}

void TFdiet::Consulter1Click() {
    command([&] { montre(Fconsult); });
}

void TFdiet::Modifiertable1Click() {
    command([&] { montre(Fmodif); });
}

void TFdiet::Crationdunalimentcompos1Click() {
    command([&] {
        QDialog* compose = Fcompose;
        m_session.ModeCompose = true;
        Help::setContext(compose, kContexteCompose);
        // The composition window's own context comes back however it closed.
        const auto retour = qScopeGuard([compose] { Help::setContext(compose, kContexteComposition); });
        montre(compose);
    });
}

void TFdiet::AjouterdesalimentsCIQUAL1Click() {
    command([&] {
        // Made for this opening and gone when it closes: the CIQUAL table is
        // read only while the window is open.
        TFciqual fciqual(m_session.run(), m_session.ciqualFile(), this);
        montre(&fciqual);
    });
}

QString TFdiet::verifieTableCiqual() {
    const QString file = m_session.ciqualFile();
    const QString problem = CiqualCatalogue::problem(m_session.run(), file);
    AjouterdesalimentsCIQUAL1->setEnabled(problem.isEmpty());
    if (problem.isEmpty()) {
        AjouterdesalimentsCIQUAL1->setToolTip(QString());
        return QString();
    }
    const QString why = QStringLiteral(
                            "La table CIQUAL 2020 (%1) ne peut pas être lue : %2\n"
                            "Le menu Table > Ajouter des aliments CIQUAL… reste grisé ; le "
                            "reste du programme n'en dépend pas.")
                            .arg(QDir::toNativeSeparators(file), problem);
    AjouterdesalimentsCIQUAL1->setToolTip(why);
    AjouterdesalimentsCIQUAL1->setStatusTip(why);
    return why;
}

void TFdiet::Tridelatable1Click() {
    command([&] {
        // Made for this opening and gone when it closes: each opening starts afresh.
        TFDietri fdietri(m_desktop, this);
        montre(&fdietri);
    });
}

void TFdiet::Index1Click() {
    command([&] {
        m_session.run().setHelpFile(FileNames::aide());
        m_desktop.showHelp(0);
    });
}

// The body-mass-index dialog and the About box are created for one showing
// and destroyed as soon as they close: each opening starts afresh.
void TFdiet::Indicedemassecorporelle1Click() {
    command([&] {
        TFIndice indice(this);
        montre(&indice);
    });
}

void TFdiet::Apropos1Click() {
    command([&] {
        TFAprop_gg apropos(m_desktop, this);
        montre(&apropos);
    });
}

void TFdiet::DiagClick(QAction* item) {
    command([&] {
        ChoiceFiles::remetJourDeCote(m_session.run());
        for (QAction* g : Groupes) g->setChecked(false);
        item->setChecked(true);
        // The group goes to the window as the menu names it.
        Fdiagnost->setGroup(item->text());
        montre(Fdiagnost);
    });
}

void TFdiet::Unepersonne1Click() {
    command([&] {
        ChoiceFiles::remetJourDeCote(m_session.run());
        TFpersonne personne(m_session.run(), *m_efsa, this);
        montre(&personne);
        TFdiagnost* diagnost = Fdiagnost;
        if (personne.result() != QDialog::Accepted || !diagnost) return;
        for (QAction* g : Groupes) g->setChecked(false);
        diagnost->setPerson(personne.bilan());
        montre(diagnost);
    });
}

void TFdiet::Bilandeplusieursjours1Click() {
    command([&] {
        // The groups as the Diagnostic menu lists them, starting on the one
        // last chosen there; made for this opening.
        QStringList groupes;
        QString coche;
        for (QAction* g : Groupes) {
            groupes << g->text();
            if (g->isChecked()) coche = g->text();
        }
        TFjours jours(
            m_session.run(), groupes, coche,
            [this](const QString& groupe, const QVector<SavedDay>& choisis) {
                TFdiagnost* diagnost = Fdiagnost;
                if (!diagnost) return;
                diagnost->setDays(groupe, choisis);
                montre(diagnost);
            },
            this);
        montre(&jours);
    });
}

void TFdiet::Completerlaration1Click() {
    command([&] {
        ChoiceFiles::remetJourDeCote(m_session.run());
        TFcompleter completer(m_session, *m_efsa, this);
        // On the group or the person assessed last.
        bool groupe = false;
        for (QAction* g : Groupes)
            if (g->isChecked()) {
                completer.setGroup(g->text(), false);
                groupe = true;
            }
        const TFdiagnost* diagnost = Fdiagnost;
        if (!groupe && diagnost && diagnost->personne()) {
            const PersonBilan& p = *diagnost->personne();
            completer.setPerson(p.caption(), p.needs, p.limits);
        }
        montre(&completer);
    });
}

void TFdiet::FormClose() {
    // The Daily totals of the run are released: nothing of the day stays in
    // memory once the main window is closed.
    RazTotaux(m_session.totals());
}

void TFdiet::closeEvent(QCloseEvent* event) {
    // One more try before the program ends; otherwise the next start-up puts
    // the day back.
    command([&] { ChoiceFiles::remetJourDeCote(m_session.run()); });
    FormClose();
    event->accept();
}
