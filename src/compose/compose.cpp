#include "compose/compose.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>

#include "compose/compimpr.h"
#include "compose/creadlg.h"
#include "core/compose/dailytotals.h"
#include "core/compose/totalsstrip.h"
#include "compose/voir.h"
#include "core/compose/nomsaliments.h"
#include "core/io/datadirectory.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "core/session/session.h"
#include "ui/datagrid.h"
#include "ui/desktop.h"
#include "ui/errorhandler.h"
#include "ui/help.h"
#include "ui/iconbutton.h"
#include "ui/icons.h"
#include "ui/namesearch.h"
#include "ui/tablemodel.h"

namespace {
// The designed window, and the name search's panel to its right.
constexpr int kDesignWidth = 640, kSearchWidth = 250;
constexpr int kWidth = kDesignWidth + kSearchWidth, kHeight = 480;
constexpr int kTopHeight = 161, kTitleHeight = 23, kTotalsHeight = 53;
// F1 in the name search opens its own help topic.
constexpr int kSearchHelp = 27;
// The row of list buttons, right of the food grid.
constexpr int kRowX = 330, kRowY = 62, kStep = 48;
const QPoint kImprimerPlace(kRowX + 5 * kStep, kRowY);
const QPoint kRenommerPlace(kRowX + 5 * kStep, kRowY + kStep);

QVector<TableModel::Column> choiceColumns() {
    QVector<TableModel::Column> cols;
    for (const DbfField& f : choiceSchema().fields) {
        if (f.name == QLatin1String("NUMERO") || f.name == QLatin1String("CATEGORIE")) continue;
        const FieldPresentation* p = presentationOf(f.name);
        TableModel::Column c;
        c.field = f.name;
        c.title = p ? p->choiceLabel : QString();
        c.format = p ? p->choiceFormat : QString();
        c.widthChars = f.name == QLatin1String("NOM") ? 25 : 0;
        cols << c;
    }
    return cols;
}

// A total too wide for its place is written smaller, so that it is never cut
// and never runs into its neighbour; its hint holds it too.
void fitTotal(QLabel* l, const QFont& base) {
    QFont f = base;
    while (QFontMetrics(f).horizontalAdvance(l->text()) > l->width() && f.pointSizeF() > 5.0)
        f.setPointSizeF(f.pointSizeF() - 0.5);
    l->setFont(f);
    l->setToolTip(l->text());
}

}   // namespace

TFcompose::TFcompose(Session& session, Desktop& desktop, QWidget* parent)
    : ModalWindow(parent, 25),
      m_session(session),
      m_desktop(desktop),
      m_talim(std::make_unique<Table>(session.run(), foodSchema())),
      m_tchoix(std::make_unique<Table>(session.run(), choiceSchema())),
      m_talimCompo(std::make_unique<Table>(session.run(), compositeSchema())),
      m_list(*m_talim, *m_tchoix),
      m_composite(*m_talim, *m_tchoix, *m_talimCompo) {
    // FormCreate: the three handles on the Data directory.
    m_talim->setIndexName(QStringLiteral("NOM"));
    m_talim->setFilterCaseInsensitive(true);
    m_tchoix->setIndexName(QString());
    m_talimCompo->setIndexName(QStringLiteral("NOM_COMPO"));

    setWindowTitle(QStringLiteral("Composition d'un menu"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kWidth, kHeight);

    auto* top = new QFrame(this);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setFrameShape(QFrame::Panel);
    top->setFrameShadow(QFrame::Raised);
    top->setGeometry(0, 0, kDesignWidth, kTopHeight);
    buildTopPanel(top);

    Panel3 = new QLabel(QStringLiteral("Liste des aliments choisis"), this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setAlignment(Qt::AlignCenter);
    Panel3->setFrameShape(QFrame::Panel);
    Panel3->setFrameShadow(QFrame::Raised);
    Panel3->setGeometry(0, kTopHeight, kDesignWidth, kTitleHeight);
    Panel3->setContextMenuPolicy(Qt::NoContextMenu);

    DBGchoix = new DataGrid(this);
    DBGchoix->setObjectName(QStringLiteral("DBGchoix"));
    DBGchoix->setFrameShape(QFrame::NoFrame);
    DBGchoix->verticalHeader()->hide();
    DBGchoix->setGeometry(0, kTopHeight + kTitleHeight, kDesignWidth,
                          kHeight - kTopHeight - kTitleHeight - kTotalsHeight);
    m_choiceModel = std::make_unique<TableModel>(m_tchoix.get(), choiceColumns());
    DBGchoix->setTableModel(m_choiceModel.get());
    DBGchoix->sizeColumnsFromModel();
    DBGchoix->setColumnsFitValues(true);
    DBGchoix->setContextMenuPolicy(Qt::NoContextMenu);
    connect(DBGchoix, &DataGrid::activatedByKey, this, [this] { SBmodifierClick(); });
    connect(DBGchoix, &QAbstractItemView::doubleClicked, this, [this] { SBmodifierClick(); });

    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("Panel2"));
    strip->setFrameShape(QFrame::Panel);
    strip->setFrameShadow(QFrame::Raised);
    strip->setGeometry(0, kHeight - kTotalsHeight, kDesignWidth, kTotalsHeight);
    strip->setContextMenuPolicy(Qt::NoContextMenu);
    buildTotalsStrip(strip);

    buildMenu();
    buildSearch();
    setMode(false);

    setTabOrder(CBcategorie, DBGalim);
    setTabOrder(DBGalim, SBsupprimer);
    setTabOrder(SBsupprimer, SBajouter);
    setTabOrder(SBajouter, SBmodifier);
    setTabOrder(SBmodifier, SBeffacer);
    setTabOrder(SBeffacer, SBconsulter);
    setTabOrder(SBconsulter, SBimprimer);
    setTabOrder(SBimprimer, SBrenommer);
    setTabOrder(SBrenommer, SBsortir);
    setTabOrder(SBsortir, DBGchoix);
    setTabOrder(DBGchoix, nameSearch->box());
    setTabOrder(nameSearch->box(), nameSearch->list());

    // The detail view of the selected food, bound to this window's Food
    // handle, and the chosen-list report, which lives in its hidden container.
    m_voir = new TFvoir(*m_talim, this);
    m_compimpr = new TFcompimpr(m_desktop, this);
}

template <class F>
void TFcompose::command(F&& f) {
    ErrorHandler::run(m_session.prompter(), std::forward<F>(f));
}

TFcompose::~TFcompose() {
    // The views go before the models they show.
    DBGalim->setTableModel(nullptr);
    DBGchoix->setTableModel(nullptr);
}

void TFcompose::buildTopPanel(QWidget* panel) {
    auto* lcat = new QLabel(QStringLiteral("&Catégories"), panel);
    lcat->setGeometry(8, 6, 250, 16);
    CBcategorie = new QComboBox(panel);
    CBcategorie->setObjectName(QStringLiteral("CBcategorie"));
    // A list to pick from: typing only searches the list, so the box always
    // holds one of the fourteen categories.
    CBcategorie->setEditable(false);
    CBcategorie->addItems(categories());
    CBcategorie->setMaxVisibleItems(categories().size());
    CBcategorie->setGeometry(8, 22, 300, 24);
    CBcategorie->setContextMenuPolicy(Qt::NoContextMenu);
    lcat->setBuddy(CBcategorie);
    connect(CBcategorie, &QComboBox::currentIndexChanged, this, [this] { CBcategorieChange(); });

    auto* lalim = new QLabel(QStringLiteral("A&liments"), panel);
    lalim->setGeometry(8, 50, 250, 16);
    DBGalim = new DataGrid(panel);
    DBGalim->setObjectName(QStringLiteral("DBGalim"));
    DBGalim->horizontalHeader()->hide();
    DBGalim->verticalHeader()->hide();
    DBGalim->setShowGrid(true);
    DBGalim->setGeometry(8, 66, 300, kTopHeight - 66 - 6);
    m_foodModel = std::make_unique<TableModel>(
        m_talim.get(),
        QVector<TableModel::Column>{{QStringLiteral("NOM"), QStringLiteral("Nom"), QString(), 30}});
    DBGalim->setTableModel(m_foodModel.get());
    DBGalim->horizontalHeader()->setStretchLastSection(true);
    DBGalim->setContextMenuPolicy(Qt::NoContextMenu);
    lalim->setBuddy(DBGalim);
    connect(DBGalim, &DataGrid::activatedByKey, this, [this] { SBajouterClick(); });
    connect(DBGalim, &QAbstractItemView::doubleClicked, this, [this] { SBajouterClick(); });

    auto button = [&](const char* name, const QIcon& icon, QPoint at) {
        auto* b = new IconButton(icon, QString(), panel);
        b->setObjectName(QString::fromLatin1(name));
        b->move(at);
        b->setContextMenuPolicy(Qt::NoContextMenu);
        return b;
    };
    SBsupprimer = button("SBsupprimer", Icons::supprimer(), {kRowX, kRowY});
    SBajouter = button("SBajouter", Icons::ajouter(), {kRowX + kStep, kRowY});
    SBmodifier = button("SBmodifier", Icons::modifier(), {kRowX + 2 * kStep, kRowY});
    SBeffacer = button("SBeffacer", Icons::effacer(), {kRowX + 3 * kStep, kRowY});
    SBconsulter = button("SBconsulter", Icons::consulter(), {kRowX + 4 * kStep, kRowY});
    SBimprimer = button("SBimprimer", Icons::imprimer(), kImprimerPlace);
    SBsortir = button("SBsortir", Icons::sortir(), {kRowX + 5 * kStep, kRowY - kStep - 4});
    SBrenommer = button("SBrenommer", Icons::renommer(), kRenommerPlace);

    connect(SBsupprimer, &QToolButton::clicked, this, [this] { SBsupprimerClick(); });
    connect(SBajouter, &QToolButton::clicked, this, [this] { SBajouterClick(); });
    connect(SBmodifier, &QToolButton::clicked, this, [this] { SBmodifierClick(); });
    connect(SBeffacer, &QToolButton::clicked, this, [this] { SBeffacerClick(); });
    connect(SBconsulter, &QToolButton::clicked, this, [this] { SBconsulterClick(); });
    connect(SBimprimer, &QToolButton::clicked, this, [this] { SBimprimerClick(); });
    connect(SBsortir, &QToolButton::clicked, this, [this] { SBsortirClick(); });
    connect(SBrenommer, &QToolButton::clicked, this, [this] { SBrenommerClick(); });
}

void TFcompose::buildTotalsStrip(QWidget* strip) {
    auto* title = new QLabel(QStringLiteral("Totaux : "), strip);
    title->setGeometry(6, 6, 60, 18);
    const auto entries = TotalsStrip::textes(DailyTotals());
    const int x0 = 64, w = 92, step = 96;
    for (int i = 0; i < entries.size(); ++i) {
        const int col = i % TotalsStrip::ParRangee, row = i / TotalsStrip::ParRangee;
        auto* l = new QLabel(entries[i].text, strip);
        l->setObjectName(entries[i].label);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setGeometry(x0 + col * step, 6 + row * 22, w, 18);
        m_totals.insert(entries[i].label, l);
    }
}

void TFcompose::buildMenu() {
    PMcompose = new QMenu(this);
    PMcompose->setObjectName(QStringLiteral("PMcompose"));
    auto action = [&](const char* name, const QString& text, const QKeySequence& key, std::function<void()> run,
                      bool inMenu = true) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, std::move(run));
        addAction(a);
        if (inMenu) PMcompose->addAction(a);
        return a;
    };
    Supprimer1 = action("Supprimer1", QStringLiteral("&Supprimer"), QKeySequence(Qt::Key_Delete),
                        [this] { SBsupprimerClick(); });
    Ajouter1 = action("Ajouter1", QStringLiteral("&Ajouter"), QKeySequence(Qt::Key_Insert),
                      [this] { SBajouterClick(); });
    Modifier1 = action("Modifier1", QStringLiteral("&Modifier"), QKeySequence(Qt::Key_F2),
                       [this] { SBmodifierClick(); });
    Touteffacer1 = action("Touteffacer1", QStringLiteral("&Tout effacer"),
                          QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { SBeffacerClick(); });
    Voir1 = action("Voir1", QStringLiteral("&Voir"), QKeySequence(Qt::CTRL | Qt::Key_D),
                   [this] { SBconsulterClick(); });
    // The entry prints like the button (the report itself runs only when
    // a print handler is installed).
    Imprimer1 = action("Imprimer1", QStringLiteral("&Imprimer"), QKeySequence(Qt::CTRL | Qt::Key_P),
                       [this] { SBimprimerClick(); });
    PMcompose->addSeparator();
    // "&Supprimer" has the S: Sortir takes its o.
    Sortir1 = action("Sortir1", QStringLiteral("S&ortir"), QKeySequence(), [this] { SBsortirClick(); });
    Renommer1 = action(
        "Renommer1", QStringLiteral("&Renommer"), QKeySequence(Qt::CTRL | Qt::Key_R),
        [this] { SBrenommerClick(); }, false);
}

void TFcompose::buildSearch() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel4"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setGeometry(kDesignWidth, 0, kSearchWidth, kHeight);
    panel->setContextMenuPolicy(Qt::NoContextMenu);
    nameSearch = new NameSearch(QStringLiteral("&Rechercher un aliment (Ctrl+F)"),
                                NameSearch::WhenEmpty::Nothing, panel);
    nameSearch->setObjectName(QStringLiteral("nameSearch"));
    nameSearch->setGeometry(8, 6, kSearchWidth - 16, kHeight - 12);
    Help::setContext(nameSearch, kSearchHelp);
    connect(nameSearch, &NameSearch::picked, this, [this](int index) { selectFound(index); });
    nameSearch->setSource([this] { return readFoodNames(); });

    searchAction = new QAction(QStringLiteral("Rechercher un aliment"), this);
    searchAction->setObjectName(QStringLiteral("searchAction"));
    searchAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    searchAction->setShortcutContext(Qt::WindowShortcut);
    connect(searchAction, &QAction::triggered, this, [this] {
        nameSearch->box()->setFocus(Qt::ShortcutFocusReason);
        nameSearch->box()->selectAll();
    });
    addAction(searchAction);
}

QStringList TFcompose::readFoodNames() {
    // The whole table, whatever the category shown, in name order: a match's
    // index is its row in that view, which does not change while the window
    // is shown.
    const NomsAliments::VueGardee keep(*m_talim);
    m_talim->setFiltered(false);
    const int n = m_talim->rowCount();
    QStringList names;
    names.reserve(n);
    for (int r = 0; r < n; ++r) names << m_talim->valueAt(r, QStringLiteral("NOM")).toString();
    return names;
}

void TFcompose::selectFound(int index) {
    if (index < 0 || index >= nameSearch->names().size()) return;
    command([&] {
        const QString nom = nameSearch->names().at(index);
        QString categorie;
        {
            const NomsAliments::VueGardee keep(*m_talim);
            m_talim->setFiltered(false);
            int row = index;
            if (m_talim->valueAt(row, QStringLiteral("NOM")).toString() != nom)
                row = m_talim->locateRow(QStringLiteral("NOM"), nom);
            if (row < 0) return;
            categorie = m_talim->valueAt(row, QStringLiteral("CATEGORIE")).toString();
        }
        const int item = categories().indexOf(categorie);
        if (item >= 0 && item != CBcategorie->currentIndex()) {
            CBcategorie->setCurrentIndex(item);   // CBcategorieChange filters the food view
        } else if (item < 0) {
            // A category outside the list (a food typed in by another
            // program): the view shows that category, the box none.
            const QSignalBlocker block(CBcategorie);
            CBcategorie->setCurrentIndex(-1);
            m_talim->setFilter(QStringLiteral("CATEGORIE='") + categorie + QStringLiteral("'"));
        }
        if (m_talim->locate(QStringLiteral("NOM"), nom)) DBGalim->setFocus(Qt::OtherFocusReason);
    });
}

void TFcompose::setMode(bool composite) {
    SBimprimer->setVisible(!composite);
    Imprimer1->setVisible(!composite);
    Imprimer1->setEnabled(!composite);
    SBrenommer->setVisible(composite);
    Renommer1->setEnabled(composite);
    SBrenommer->move(composite ? kImprimerPlace : kRenommerPlace);
    // Each hint shows the key of the pop-up menu's entry for the same command.
    SBsupprimer->setHint(composite ? QStringLiteral("Retirer de la liste des éléments")
                                   : QStringLiteral("Supprimer des aliments choisis"),
                         Supprimer1->shortcut());
    SBajouter->setHint(composite ? QStringLiteral("Ajouter à la liste des éléments")
                                 : QStringLiteral("Ajouter aux aliments choisis"),
                       Ajouter1->shortcut());
    SBmodifier->setHint(composite ? QStringLiteral("Modifier un élément de la liste")
                                  : QStringLiteral("Modifier un aliment choisi"),
                        Modifier1->shortcut());
    SBeffacer->setHint(composite ? QStringLiteral("Effacer la liste des éléments")
                                 : QStringLiteral("Effacer tous les aliments choisis"),
                       Touteffacer1->shortcut());
    SBsortir->setHint(composite ? QStringLiteral("Enregistrer/Sortir") : QStringLiteral("Sortir"));
    SBconsulter->setHint(QStringLiteral("Voir en détail un aliment"), Voir1->shortcut());
    SBimprimer->setHint(QStringLiteral("Imprimer la liste du menu"), Imprimer1->shortcut());
    SBrenommer->setHint(QStringLiteral("Renommer"), Renommer1->shortcut());
    if (!composite) {
        setWindowTitle(QStringLiteral("Composition d'un menu"));
        Panel3->setText(QStringLiteral("Liste des aliments choisis"));
    }
}

Table& TFcompose::Talim() { return *m_talim; }
Table& TFcompose::Tchoix() { return *m_tchoix; }
Table& TFcompose::TalimCompo() { return *m_talimCompo; }
bool TFcompose::modeCompose() const { return m_compositeMode; }
CompositeFood& TFcompose::composite() { return m_composite; }
QLabel* TFcompose::Ltotal(const QString& name) const { return m_totals.value(name); }

// ---------------------------------------------------------------------------
// Showing and closing

bool TFcompose::FormShow() {
    // Already prepared (FormShow called before the window was shown).
    if (m_opened) return true;
    m_compositeMode = m_session.ModeCompose;
    bool named = true;
    const bool ok = ErrorHandler::run(m_session.prompter(), [&] {
        setFixedSize(kWidth, kHeight);
        m_opened = true;
        m_talim->open();
        m_tchoix->open();
        m_talimCompo->open();
        if (m_compositeMode) {
            named = entreModeCompose();
            if (!named) return;
        } else {
            setMode(false);
        }
        {
            const QSignalBlocker block(CBcategorie);
            CBcategorie->setCurrentIndex(0);
        }
        // The names are read when the search is first used in this showing;
        // the window opens on its category box, as designed.
        nameSearch->forgetNames();
        CBcategorie->setFocus(Qt::OtherFocusReason);
        AfficheTotaux();
        m_talim->setFilter(QStringLiteral("CATEGORIE='") + categories().first() + QStringLiteral("'"));
        m_talim->setFiltered(true);
        m_talim->first();
    });
    if (!ok || !named) {
        FormClose();
        return false;
    }
    return true;
}

bool TFcompose::entreModeCompose() {
    m_composite.NomCompose.clear();
    m_composite.ModifCompose = false;
    TFCreadlg dialog(*m_talim, *m_talimCompo, this);
    m_desktop.run(dialog);
    const QString nom = dialog.nom();
    if (nom.isEmpty()) return false;
    m_composite.commence(nom);
    Panel3->setText(QStringLiteral("Liste des éléments composant l'aliment ") + nom);
    setWindowTitle(m_composite.ModifCompose ? QStringLiteral("Modification d'un aliment composé")
                                            : QStringLiteral("Création d'un aliment composé"));
    setMode(true);
    m_composite.metDeCote();
    m_composite.chargeLignes();
    return true;
}

void TFcompose::FormClose() {
    if (!m_opened) return;
    m_opened = false;
    m_talim->close();
    m_tchoix->close();
    m_talimCompo->close();
    if (m_compositeMode) command([this] { m_composite.restaure(); });
}

// ---------------------------------------------------------------------------
// Commands

void TFcompose::listChanged(bool changed) {
    if (changed) AfficheTotaux();
}

void TFcompose::CBcategorieChange() {
    command([this] {
        const int i = CBcategorie->currentIndex();
        const QString item = i >= 0 ? CBcategorie->itemText(i) : QString();
        m_talim->setFilter(QStringLiteral("CATEGORIE='") + item + QStringLiteral("'"));
        if (m_talim->isOpen()) m_talim->first();
    });
}

void TFcompose::SBajouterClick() {
    command([this] { listChanged(m_list.ajouter(m_compositeMode ? &m_composite : nullptr)); });
}

void TFcompose::SBmodifierClick() {
    command([this] { listChanged(m_list.modifier()); });
}

void TFcompose::SBsupprimerClick() {
    command([this] { listChanged(m_list.supprimer()); });
}

void TFcompose::SBeffacerClick() {
    command([this] { listChanged(m_list.effacer()); });
}

void TFcompose::SBconsulterClick() {
    command([this] {
        m_voir->setEnergy(static_cast<double>(ChoiceList::energiePour100(*m_talim)));
        m_desktop.run(*m_voir);
    });
}

void TFcompose::SBimprimerClick() {
    command([this] {
        if (m_compositeMode || m_tchoix->isEmpty()) return;
        m_tchoix->close();
        m_tchoix->open();
        m_compimpr->Preview(*m_tchoix);
    });
}

void TFcompose::SBsortirClick() {
    bool close = true;
    if (m_compositeMode) {
        close = false;
        command([&] { close = m_composite.enregistre(m_session.totals()); });
    }
    if (close) accept();
}

void TFcompose::SBrenommerClick() {
    if (!m_compositeMode) return;
    command([this] {
        if (m_composite.renommer())
            Panel3->setText(QStringLiteral("Liste des éléments composant l'aliment ") + m_composite.NomCompose);
    });
}

void TFcompose::AfficheTotaux() {
    DailyTotals& totals = m_session.totals();
    {
        // The summing loop walks every line; the grid goes to where it ends.
        const DataGrid::Pause pause(DBGchoix);
        CalculTotaux(*m_tchoix, totals);
    }
    for (const auto& e : TotalsStrip::textes(totals))
        if (QLabel* l = m_totals.value(e.label)) {
            l->setText(e.text);
            fitTotal(l, l->parentWidget()->font());
        }
    // There is a list to print once a line is chosen.
    const bool imprimable = !m_compositeMode && !m_tchoix->isEmpty();
    SBimprimer->setEnabled(imprimable);
    Imprimer1->setEnabled(imprimable);
}

void TFcompose::keyPressEvent(QKeyEvent* event) {
    // Escape does not close the window: in composite mode that would drop the
    // ingredient list without a word. The window closes by Sortir or its close box.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    ModalWindow::keyPressEvent(event);
}

void TFcompose::contextMenuEvent(QContextMenuEvent* event) {
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        QWidget* w = focusWidget();
        if (!w || !isAncestorOf(w)) w = this;
        at = w->mapToGlobal(w->rect().center());
    }
    PMcompose->exec(at);
    event->accept();
}
