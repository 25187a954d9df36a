#include "foodtable/consult.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>

#include "core/io/runcontext.h"
#include "core/foodtable/imagescale.h"
#include "core/interfaces/prompter.h"
#include "core/schema/schema.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "foodtable/foodgrid.h"
#include "ui/errorhandler.h"
#include "ui/fieldbox.h"
#include "ui/fieldgrid.h"
#include "ui/iconbutton.h"
#include "ui/icons.h"
#include "ui/desktop.h"
#include "ui/printerservice.h"

namespace {
// The background of the command strip: the classic desktop colour.
const QColor kBureau(0, 128, 128);
}

TFconsult::TFconsult(Session& session, Desktop& desktop, QWidget* parent)
    : FoodWindow(parent, 37, QStringLiteral("Table des aliments (consultation)")),
      m_desktop(desktop),
      m_taliments(std::make_unique<Table>(session.run(), foodSchema())),
      m_browser(*m_taliments) {
    setObjectName(QStringLiteral("Fconsult"));
    // FormCreate: the Food table of the Data directory, read-only, in number order.
    m_taliments->setReadOnly(true);
    FoodBrowser::ajouteKcal(*m_taliments);

    QPalette bureau = strip()->palette();
    bureau.setColor(QPalette::Window, kBureau);
    strip()->setPalette(bureau);

    DBNavigator = new TableNavigator(
        {TableNavigator::First, TableNavigator::Prior, TableNavigator::Next, TableNavigator::Last}, strip());
    DBNavigator->setObjectName(QStringLiteral("DBNavigator"));
    DBNavigator->setGeometry(11, 8, 224, 25);
    DBNavigator->setTable(m_taliments.get());
    connect(DBNavigator, &TableNavigator::clicked, this, [this](TableNavigator::Button b) { deplace(b); });

    SBchercher = creeBouton("SBchercher", Icons::consulter(), QStringLiteral("Chercher"), 242);
    connect(SBchercher, &QToolButton::clicked, this, &TFconsult::SBchercherClick);
    SBimprimer = creeBouton("SBimprimer", Icons::imprimer(), QStringLiteral("Imprimer"), 276);
    connect(SBimprimer, &QToolButton::clicked, this, &TFconsult::SBimprimerClick);

    Bquitter = creeBquitter(309, 57);
    connect(Bquitter, &QPushButton::clicked, this, &TFconsult::BquitterClick);

    Lcomposition = new QLabel(QStringLiteral("Composition des aliments (pour 100 g)"), strip());
    Lcomposition->setObjectName(QStringLiteral("Lcomposition"));
    QFont titre = font();
    titre.setPointSize(12);
    titre.setBold(true);
    Lcomposition->setFont(titre);
    Lcomposition->setGeometry(39, 10, 309, 20);
    Lcomposition->hide();

    // The 33 fields and the energy, read-only, on the button-face colour.
    m_grid = std::make_unique<FieldGrid>(body(), FoodGrid::consultation());
    for (QLineEdit* e : m_grid->boxes()) setBackground(e, QPalette::Button);
    m_grid->bind(m_taliments.get());

    auto* lcat = new QLabel(QStringLiteral("CATEGORIE"), body());
    lcat->move(6, 204);
    lcat->adjustSize();
    // A blank square under the category box; it does nothing.
    Lvide = new QLabel(body());
    Lvide->setObjectName(QStringLiteral("Lvide"));
    Lvide->setGeometry(192, 214, 35, 35);
    Lvide->setAutoFillBackground(true);
    setBackground(Lvide, QPalette::Button);
    CBcategorie = new QComboBox(body());
    CBcategorie->setObjectName(QStringLiteral("CBcategorie"));
    CBcategorie->setEditable(true);
    CBcategorie->setInsertPolicy(QComboBox::NoInsert);
    CBcategorie->addItems(categories());
    CBcategorie->setMaxVisibleItems(categories().size());
    CBcategorie->setGeometry(6, 222, 209, 21);
    setBackground(CBcategorie, QPalette::Button);
    lcat->setBuddy(CBcategorie);
    // A category chosen in the list, or a text typed and confirmed with Return.
    connect(CBcategorie, &QComboBox::activated, this, [this] { CBcategorieChange(); });
    connect(CBcategorie->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (CBcategorie->findText(CBcategorie->currentText()) < 0)
            ErrorHandler::run(m_taliments->run().prompter(), [&] { sauteA(CBcategorie->currentText()); });
    });

    suitOrigine(*m_taliments);

    const SortFrame tri = creeTri({250, 184}, {250, 205}, {251, 226}, 80, "RBnom", "RBcategorie");
    RGtri = tri.frame;
    RBnumero = tri.numero;
    RBnom = tri.nom;
    RBcategorie = tri.categorie;
    connect(RBnumero, &QRadioButton::clicked, this, &TFconsult::RBnumeroClick);
    connect(RBnom, &QRadioButton::clicked, this, &TFconsult::RBnomClick);
    connect(RBcategorie, &QRadioButton::clicked, this, &TFconsult::RBcategorieClick);
}

TFconsult::~TFconsult() = default;

QLineEdit* TFconsult::edit(const QString& fieldOrName) const { return m_grid->box(fieldOrName); }

bool TFconsult::FormShow() {
    const bool ok = ErrorHandler::run(m_taliments->run().prompter(), [&] {
        m_taliments->open();
        relitOrigines();
        afficheCategorie();
    });
    if (!ok) m_taliments->close();
    return ok;
}

void TFconsult::FormClose() { m_taliments->close(); }

void TFconsult::BquitterClick() { accept(); }

void TFconsult::RBnumeroClick() {
    ErrorHandler::run(m_taliments->run().prompter(), [&] { m_browser.setSortOrder(FoodBrowser::Tri::Numero); });
}

void TFconsult::RBnomClick() {
    ErrorHandler::run(m_taliments->run().prompter(), [&] { m_browser.setSortOrder(FoodBrowser::Tri::Nom); });
}

void TFconsult::RBcategorieClick() {
    ErrorHandler::run(m_taliments->run().prompter(),
                      [&] { m_browser.setSortOrder(FoodBrowser::Tri::Categorie); });
}

void TFconsult::deplace(TableNavigator::Button bouton) {
    const bool ok = ErrorHandler::run(m_taliments->run().prompter(), [&] {
        switch (bouton) {
        case TableNavigator::First:
            m_taliments->first();
            break;
        case TableNavigator::Prior:
            m_taliments->prior();
            break;
        case TableNavigator::Next:
            m_taliments->next();
            break;
        case TableNavigator::Last:
            m_taliments->last();
            break;
        default:
            break;
        }
    });
    if (ok) DBNavigatorClick(bouton);
}

void TFconsult::DBNavigatorClick(TableNavigator::Button) { afficheCategorie(); }

void TFconsult::afficheCategorie() {
    // Shown by the program: no jump follows.
    const QSignalBlocker block(CBcategorie);
    const QString categorie = m_browser.categorie();
    const int i = CBcategorie->findText(categorie);
    CBcategorie->setCurrentIndex(i);
    if (i < 0) CBcategorie->setEditText(categorie);
}

void TFconsult::CBcategorieChange() {
    const int i = CBcategorie->currentIndex();
    if (i < 0) return;
    ErrorHandler::run(m_taliments->run().prompter(), [&] { sauteA(CBcategorie->itemText(i)); });
}

void TFconsult::sauteA(const QString& texte) {
    m_browser.sauteCategorie(texte);
    RBcategorie->setChecked(true);
    afficheCategorie();
}

void TFconsult::SBchercherClick() {
    ErrorHandler::run(m_taliments->run().prompter(), [&] {
        if (m_browser.chercheNom()) {
            RBnom->setChecked(true);
            RBnomClick();
            afficheCategorie();
        }
    });
}

// ---------------------------------------------------------------------------
// Printing the window's image

void TFconsult::SBimprimerClick() {
    ErrorHandler::run(m_taliments->run().prompter(), [&] { imprime(); });
    // Undressed in every case: printed, cancelled or failed.
    deshabiller();
}

void TFconsult::imprime() {
    PrintJob job(m_desktop.printers(), QStringLiteral("consultation"));
    QPrintDialog dialog(&job.printer(), this);
    if (m_desktop.run(dialog) != QDialog::Accepted) return;
    m_desktop.printers().setChosenPrinter(job.printer());
    const bool grand = m_taliments->run().prompter().ask(
        Prompter::Kind::Confirmation, QStringLiteral("Voulez-vous imprimer en grande taille ?"));
    habiller();
    const QSize image(kWidth, kHeight);
    // No caret or selection on paper.
    QWidget* focus = focusWidget();
    if (focus) focus->clearFocus();
    const QPixmap pixmap = grab(QRect(QPoint(0, 0), image));
    if (focus) focus->setFocus();
    QPrinter& printer = job.printer();
    const QSize taille =
        grand ? ImageScale::pleinePage(image, QSize(printer.width(), printer.height()))
              : ImageScale::proportionnelle(image, QSize(printer.logicalDpiX(), printer.logicalDpiY()),
                                            QSize(logicalDpiX(), logicalDpiY()));
    QPainter& painter = job.begin();
    painter.drawPixmap(QRect(QPoint(0, 0), taille), pixmap);
    job.finish();
    m_tailleImprimee = taille;
}

void TFconsult::habiller() {
    m_habille = true;
    for (QWidget* w : {static_cast<QWidget*>(DBNavigator), static_cast<QWidget*>(SBchercher),
                       static_cast<QWidget*>(SBimprimer), static_cast<QWidget*>(Bquitter)})
        w->hide();
    Lcomposition->show();
    for (QLineEdit* e : m_grid->boxes()) setBackground(e, Qt::white);
    setBackground(CBcategorie, Qt::white);
    setBackground(CBcategorie->lineEdit(), Qt::white);
    // The simple style: a plain text field, without its drop-down button.
    CBcategorie->setStyleSheet(
        QStringLiteral("QComboBox { background: white; border: 1px solid palette(mid); padding-left: 2px; }"
                       "QComboBox::drop-down { width: 0px; border: none; }"
                       "QComboBox::down-arrow { image: none; }"));
    for (QWidget* w : {static_cast<QWidget*>(RGtri), static_cast<QWidget*>(RBnumero),
                       static_cast<QWidget*>(RBnom), static_cast<QWidget*>(RBcategorie)})
        w->hide();
}

void TFconsult::deshabiller() {
    for (QLineEdit* e : m_grid->boxes()) setBackground(e, palette().color(QPalette::Button));
    setBackground(CBcategorie, palette().color(QPalette::Button));
    setBackground(CBcategorie->lineEdit(), palette().color(QPalette::Button));
    CBcategorie->setStyleSheet(QString());
    for (QWidget* w : {static_cast<QWidget*>(DBNavigator), static_cast<QWidget*>(SBchercher),
                       static_cast<QWidget*>(SBimprimer), static_cast<QWidget*>(Bquitter)})
        w->show();
    Lcomposition->hide();
    for (QWidget* w : {static_cast<QWidget*>(RGtri), static_cast<QWidget*>(RBnumero),
                       static_cast<QWidget*>(RBnom), static_cast<QWidget*>(RBcategorie)})
        w->show();
    m_habille = false;
}
