#include "foodtable/modif.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHash>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include "core/io/runcontext.h"
#include "core/schema/schema.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "foodtable/foodgrid.h"
#include "ui/errorhandler.h"
#include "ui/fieldbox.h"
#include "ui/fieldgrid.h"
#include "ui/iconbutton.h"
#include "ui/icons.h"

TFmodif::TFmodif(Session& session, QWidget* parent)
    : FoodWindow(parent, 48, QStringLiteral("Table des aliments (modification)")),
      m_taliments(std::make_unique<Table>(session.run(), foodSchema())),
      m_talimCompo(std::make_unique<Table>(session.run(), compositeSchema())),
      m_browser(*m_taliments) {
    setObjectName(QStringLiteral("Fmodif"));
    // FormCreate: both tables in the Data directory.
    m_talimCompo->setIndexName(QStringLiteral("NOM_COMPO"));
    m_editor = std::make_unique<FoodEditor>(*m_taliments, *m_talimCompo);

    DBNavigator = new TableNavigator(
        {TableNavigator::First, TableNavigator::Prior, TableNavigator::Next, TableNavigator::Last,
         TableNavigator::Insert, TableNavigator::Delete, TableNavigator::Post, TableNavigator::Cancel},
        strip());
    DBNavigator->setObjectName(QStringLiteral("DBNavigator"));
    DBNavigator->setGeometry(8, 8, 232, 25);
    DBNavigator->setTable(m_taliments.get());
    connect(DBNavigator, &TableNavigator::clicked, this, &TFmodif::navigue);

    SBchercher = creeBouton("SBchercher", Icons::consulter(), QStringLiteral("Chercher"), 254);
    connect(SBchercher, &QToolButton::clicked, this, &TFmodif::SBchercherClick);

    Bquitter = creeBquitter(309, 56);
    connect(Bquitter, &QPushButton::clicked, this, &TFmodif::BquitterClick);

    m_grid = std::make_unique<FieldGrid>(body(), FoodGrid::modification());
    m_grid->bind(m_taliments.get());
    for (QLineEdit* box : m_grid->boxes()) {
        auto* fb = qobject_cast<FieldBox*>(box);
        if (fb->field() == Fields::NUMERO) {
            // The number is the program's: the Base foods' protection rests on it.
            setBackground(fb, QPalette::Button);
            continue;
        }
        fb->setReadOnly(false);
        // A number box takes what is typed as it stands: a text that does not
        // read (a stray letter, a second decimal point) is refused with its
        // field named when the box is left, never silently cut to digits.
        if (fb->field() == Fields::NOM) fb->setMaxLength(foodSchema().field(Fields::NOM)->length);
        fb->installEventFilter(this);
        connect(fb, &QLineEdit::textEdited, this, [this, fb] {
            // On an empty table the food begun clears the boxes: what was
            // typed stays.
            const QString typed = fb->text();
            if (!ErrorHandler::run(m_taliments->run().prompter(), [&] { m_editor->commenceEdition(); })) return;
            if (fb->text() != typed) fb->setText(typed);
            m_saisies.insert(fb);
        });
        connect(fb, &QLineEdit::returnPressed, this, [this, fb] { ecritSaisie(fb); });
    }

    auto* lcat = new QLabel(QStringLiteral("CATEGORIE"), body());
    lcat->move(6, 204);
    lcat->adjustSize();
    DBComboBox1 = new QComboBox(body());
    DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
    DBComboBox1->setEditable(false);
    DBComboBox1->addItems(categories());
    DBComboBox1->setMaxVisibleItems(categories().size());
    DBComboBox1->setGeometry(6, 222, 210, 21);
    lcat->setBuddy(DBComboBox1);
    connect(DBComboBox1, &QComboBox::activated, this, &TFmodif::choisitCategorie);
    // The list follows the current food by itself.
    connect(m_taliments.get(), &Table::currentChanged, this, &TFmodif::afficheCategorie);
    connect(m_taliments.get(), &Table::layoutReset, this, &TFmodif::afficheCategorie);
    connect(m_taliments.get(), &Table::rowChanged, this, &TFmodif::afficheCategorie);
    // A food written, dropped or left: the boxes show the table again.
    connect(m_taliments.get(), &Table::stateChanged, this, [this](Table::State s) {
        if (s != Table::State::Edit) m_saisies.clear();
    });
    connect(m_taliments.get(), &Table::currentChanged, this, [this] { m_saisies.clear(); });

    suitOrigine(*m_taliments);

    const SortFrame tri = creeTri({250, 184}, {250, 203}, {250, 223}, 76, "RBNom", "RBCategorie");
    RGtri = tri.frame;
    RBnumero = tri.numero;
    RBNom = tri.nom;
    RBCategorie = tri.categorie;
    connect(RBnumero, &QRadioButton::clicked, this, &TFmodif::RBnumeroClick);
    connect(RBNom, &QRadioButton::clicked, this, &TFmodif::RBNomClick);
    connect(RBCategorie, &QRadioButton::clicked, this, &TFmodif::RBCategorieClick);
}

TFmodif::~TFmodif() { m_editor.reset(); }

QLineEdit* TFmodif::edit(const QString& fieldOrName) const { return m_grid->box(fieldOrName); }

QList<QLineEdit*> TFmodif::boitesVerrouillees() const {
    QList<QLineEdit*> boxes;
    for (QLineEdit* b : m_grid->boxes())
        if (qobject_cast<FieldBox*>(b)->field() != Fields::NUMERO) boxes << b;
    return boxes;
}

bool TFmodif::FormShow() {
    m_saisies.clear();
    const bool ok = ErrorHandler::run(m_taliments->run().prompter(), [&] {
        m_taliments->open();
        m_talimCompo->open();
        relitOrigines();
        afficheCategorie();
        // The food shown first is protected like any other: a composite
        // must not be open to changes until the first move.
        VerrouCompose();
    });
    if (!ok) FormClose();
    return ok;
}

void TFmodif::FormClose() {
    // A change not confirmed is dropped.
    m_saisies.clear();
    m_taliments->close();
    m_talimCompo->close();
}

void TFmodif::BquitterClick() { accept(); }

// ---------------------------------------------------------------------------
// Typed texts

bool TFmodif::ecritSaisie(QLineEdit* box) {
    if (!m_saisies.contains(box) || m_ecriture) return true;
    m_ecriture = true;
    const QString field = qobject_cast<FieldBox*>(box)->field();
    const QString text = box->text();
    const bool ok = ecritEnGardant([&] { m_editor->ecritTexte(field, text); });
    m_ecriture = false;
    if (ok) {
        m_saisies.remove(box);
    } else {
        // The box keeps its text and the focus until it reads.
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    }
    return ok;
}

bool TFmodif::ecritEnGardant(const std::function<void()>& write) {
    // A value written shows again in every box: the boxes typed in and not
    // yet written keep their texts.
    QHash<QLineEdit*, QString> typed;
    for (QLineEdit* b : std::as_const(m_saisies)) typed.insert(b, b->text());
    const bool ok = ErrorHandler::run(m_taliments->run().prompter(), write);
    for (auto it = typed.cbegin(); it != typed.cend(); ++it)
        if (m_saisies.contains(it.key()) && it.key()->text() != it.value()) it.key()->setText(it.value());
    return ok;
}

bool TFmodif::ecritSaisies() {
    for (QLineEdit* box : m_grid->boxes())
        if (m_saisies.contains(box) && !ecritSaisie(box)) return false;
    return true;
}

bool TFmodif::eventFilter(QObject* watched, QEvent* event) {
    // Leaving a box writes its text; a message box or a menu taking the focus
    // away is not leaving it.
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            auto* box = qobject_cast<QLineEdit*>(watched);
            if (box && m_saisies.contains(box) && !m_ecriture)
                QTimer::singleShot(0, this, [this, box] { ecritSaisie(box); });
        }
    }
    return FoodWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Category

void TFmodif::afficheCategorie() {
    if (!m_taliments->isOpen()) return;
    const QString categorie = m_browser.categorie();
    DBComboBox1->setCurrentIndex(DBComboBox1->findText(categorie));
}

void TFmodif::choisitCategorie(int index) {
    if (index < 0) return;
    if (!ecritEnGardant([&] { m_editor->ecritTexte(Fields::CATEGORIE, DBComboBox1->itemText(index)); }))
        afficheCategorie();
}

// ---------------------------------------------------------------------------
// Commands

void TFmodif::navigue(TableNavigator::Button bouton) {
    bool fait = false;
    ErrorHandler::run(m_taliments->run().prompter(), [&] {
        // Cancelling forgets what was typed; deleting leaves it to the
        // question (a deletion cancelled or refused keeps the food exactly as
        // typed, for the next move to write); the others write it first.
        if (bouton == TableNavigator::Cancel) {
            m_saisies.clear();
        } else if (bouton != TableNavigator::Delete && !ecritSaisies()) {
            return;
        }
        switch (bouton) {
        case TableNavigator::First:
        case TableNavigator::Prior:
        case TableNavigator::Next:
        case TableNavigator::Last:
            if (!m_editor->ecritAvantDeplacement()) return;
            if (bouton == TableNavigator::First) m_taliments->first();
            if (bouton == TableNavigator::Prior) m_taliments->prior();
            if (bouton == TableNavigator::Next) m_taliments->next();
            if (bouton == TableNavigator::Last) m_taliments->last();
            fait = true;
            break;
        case TableNavigator::Insert:
            fait = m_editor->insere();
            break;
        case TableNavigator::Delete:
            fait = m_editor->supprime();
            break;
        case TableNavigator::Post:
            fait = m_editor->confirme();
            break;
        case TableNavigator::Cancel:
            m_editor->annule();
            fait = true;
            break;
        }
    });
    if (fait) DBNavigatorClick(bouton);
}

void TFmodif::DBNavigatorClick(TableNavigator::Button) {
    VerrouCompose();
    // A food written may have been renamed: its origin follows it.
    relitOrigines();
}

void TFmodif::VerrouCompose() {
    const bool verrou = m_editor->verrouCompose();
    for (QLineEdit* box : boitesVerrouillees()) {
        box->setReadOnly(verrou);
        if (verrou)
            setBackground(box, palette().color(QPalette::Button));
        else
            setBackground(box, palette().color(QPalette::Base));
    }
    DBComboBox1->setEnabled(!verrou);
}

void TFmodif::changeSortOrder(FoodBrowser::Tri tri) {
    bool fait = false;
    ErrorHandler::run(m_taliments->run().prompter(), [&] {
        if (!ecritSaisies() || !m_editor->ecritAvantDeplacement()) return;
        m_browser.setSortOrder(tri);
        fait = true;
    });
    // Refused: the button of the order still in force.
    if (!fait) bouton(m_browser.tri())->setChecked(true);
    relitOrigines();
}

void TFmodif::RBnumeroClick() { changeSortOrder(FoodBrowser::Tri::Numero); }
void TFmodif::RBNomClick() { changeSortOrder(FoodBrowser::Tri::Nom); }
void TFmodif::RBCategorieClick() { changeSortOrder(FoodBrowser::Tri::Categorie); }

void TFmodif::SBchercherClick() {
    ErrorHandler::run(m_taliments->run().prompter(), [&] {
        // The food being edited is written only when the search moves.
        if (m_browser.chercheNom([&] { return ecritSaisies() && m_editor->ecritAvantDeplacement(); })) {
            RBNom->setChecked(true);
            RBNomClick();
        }
        VerrouCompose();
        relitOrigines();
    });
}
