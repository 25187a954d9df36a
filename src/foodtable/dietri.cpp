// How data flows through the ranking window: Talimtri is the Food table,
// read only, ordered by the index tag of the selected nutrient; the grid's
// model shows NOM and the 31 nutrient columns, all but the selected one
// hidden. A button click closes the handle, sets its tag, reopens it and
// shows its column; the printout walks the handle from its first food.
#include "foodtable/dietri.h"

#include <QGroupBox>
#include <QPrinter>
#include <QHeaderView>
#include <QRadioButton>
#include <QStyle>

#include "core/io/runcontext.h"
#include "ui/desktop.h"
#include "core/foodtable/ranking.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "ui/datagrid.h"
#include "ui/errorhandler.h"
#include "ui/iconbutton.h"
#include "ui/icons.h"
#include "ui/paintersurface.h"
#include "ui/printerservice.h"
#include "ui/tablemodel.h"

namespace {
constexpr int kContexte = 60;

QVector<TableModel::Column> colonnes() {
    QVector<TableModel::Column> cols = {{QStringLiteral("NOM"), QStringLiteral("NOM"), QString(), 25}};
    for (const Nutrient& n : nutrients()) {
        const QString champ = QString::fromLatin1(n.field);
        const FieldPresentation* p = presentationOf(champ);
        const int largeur = champ == QLatin1String("A_G_SAT") ? 9 : 10;
        cols.push_back({champ, p ? p->rankingLabel : champ, p ? p->rankingFormat : QString(), largeur});
    }
    return cols;
}
}   // namespace

TFDietri::TFDietri(Desktop& desktop, QWidget* owner)
    : ModalWindow(owner, kContexte),
      m_desktop(desktop),
      m_talimtri(std::make_unique<Table>(desktop.runContext(), foodSchema())) {
    setObjectName(QStringLiteral("FDietri"));
    setWindowTitle(QStringLiteral("Table des aliments : tri"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("System"), 10));
    setFixedSize(632, 453);

    // FormCreate: the Food table of the run's Data directory.
    m_talimtri->setReadOnly(true);

    // Small speed buttons: the window's top strip above the grid is 30 pixels.
    auto speedButton = [this](const QIcon& icon, const QString& hint, const char* name, int left) {
        auto* b = new IconButton(icon, hint, this);
        b->setObjectName(QLatin1String(name));
        b->setIconSize(QSize(16, 16));
        b->setFixedSize(22, 22);
        b->move(left, 5);
        return b;
    };
    SBimprimer = speedButton(Icons::imprimer(), QStringLiteral("Imprimer"), "SBimprimer", 26);
    SBsortir = speedButton(Icons::sortir(), QStringLiteral("Sortir"), "SBsortir", 62);
    connect(SBimprimer, &QToolButton::clicked, this, [this] { SBimprimerClick(); });
    connect(SBsortir, &QToolButton::clicked, this, [this] { SBsortirClick(); });

    m_model = std::make_unique<TableModel>(m_talimtri.get(), colonnes());
    DBGrid1 = new DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(9, 35, 319, 404);
    DBGrid1->setTableModel(m_model.get());
    DBGrid1->horizontalHeader()->setFont(font());
    DBGrid1->sizeColumnsFromModel();
    montreColonne(QStringLiteral("PROT_A"));

    // The buttons stand over the frame without being its items.
    RGtri = new QGroupBox(QStringLiteral("Tri pour 100 g à partir de :"), this);
    RGtri->setObjectName(QStringLiteral("RGtri"));
    RGtri->setGeometry(344, 27, 279, 414);
    const QVector<void (TFDietri::*)()> handlers = {
        &TFDietri::RBprot_aClick,    &TFDietri::RBprot_vClick,    &TFDietri::RBgluc_sClick,
        &TFDietri::RBgluc_aClick,    &TFDietri::RBlip_aClick,     &TFDietri::RBlip_vClick,
        &TFDietri::RBa_g_satClick,   &TFDietri::RBa_g_monoClick,  &TFDietri::RBa_g_polyClick,
        &TFDietri::RBcalciumClick,   &TFDietri::RBchloreClick,    &TFDietri::RBcuivreClick,
        &TFDietri::RBferClick,       &TFDietri::RBiClick,         &TFDietri::RBmagnesiumClick,
        &TFDietri::RBmanganeseClick, &TFDietri::RBphosphoreClick, &TFDietri::RBkClick,
        &TFDietri::RBnaClick,        &TFDietri::RBsClick,         &TFDietri::RBznClick,
        &TFDietri::RBvit_aClick,     &TFDietri::RBvit_B1Click,    &TFDietri::RBvit_B2Click,
        &TFDietri::RBvit_B6Click,    &TFDietri::RBvit_B9Click,    &TFDietri::RBvit_CClick,
        &TFDietri::RBvit_DClick,     &TFDietri::RBvit_PPClick,    &TFDietri::RBcholesterolClick};
    QWidget* previous = DBGrid1;
    for (int i = 0; i < classements().size(); ++i) {
        const Ranking& c = classements()[i];
        auto* b = new QRadioButton(c.caption, this);
        b->setObjectName(QLatin1String(c.bouton));
        b->setGeometry(c.left, c.top, 125, 17);
        b->setAutoExclusive(true);
        connect(b, &QRadioButton::clicked, this, handlers[i]);
        setTabOrder(previous, b);
        previous = b;
        m_boutons.push_back(b);
    }
    m_boutons.first()->setChecked(true);
    m_classement = &classements().first();
    ajustePolice();
}

void TFDietri::ajustePolice() {
    // The buttons keep their places and widths; where the system's font is
    // wider than the captions allow, all of them take a smaller size alike,
    // so that no caption is cut ("Cholesterol (mg)").
    QRadioButton* first = m_boutons.first();
    const int indicator = first->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, first) +
                          first->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, first) + 4;
    QFont f = font();
    auto fits = [&] {
        const QFontMetrics fm(f);
        for (QRadioButton* b : m_boutons)
            if (fm.horizontalAdvance(b->text()) + indicator > b->width()) return false;
        return true;
    };
    while (!fits() && f.pointSizeF() > 7.0) f.setPointSizeF(f.pointSizeF() - 0.5);
    for (QRadioButton* b : m_boutons) b->setFont(f);
}

TFDietri::~TFDietri() = default;

void TFDietri::setInitialField(const QString& champ) { m_initial = classementDe(champ); }

QString TFDietri::champTri() const { return m_classement->champ; }
QString TFDietri::libelleTri() const { return m_classement->libelle; }
QString TFDietri::uniteTri() const { return m_classement->unite; }

QRadioButton* TFDietri::bouton(const QString& name) const {
    for (QRadioButton* b : m_boutons)
        if (b->objectName() == name) return b;
    return nullptr;
}

bool TFDietri::FormShow() {
    const Ranking& c = m_initial ? *m_initial : classements().first();
    const int index = static_cast<int>(&c - classements().data());
    m_boutons[index]->setChecked(true);
    return ErrorHandler::run(m_talimtri->run().prompter(), [&] {
        m_talimtri->setIndexName(c.champ);
        m_talimtri->open();
        montreColonne(c.champ);
        m_classement = &c;
    });
}

void TFDietri::FormClose() { m_talimtri->close(); }

void TFDietri::montreColonne(const QString& champ) {
    for (int col = 1; col < m_model->columnCount(); ++col)
        DBGrid1->setColumnHidden(col, m_model->column(col).field != champ);
}

void TFDietri::changeSortOrder(int index) {
    const Ranking& c = classements()[index];
    m_boutons[index]->setChecked(true);
    // The open table takes the nutrient's order (built once, then kept), and
    // the grid starts again from its first food.
    ErrorHandler::run(m_talimtri->run().prompter(), [&] {
        m_talimtri->setIndexName(c.champ);
        m_talimtri->first();
        montreColonne(c.champ);
        m_classement = &c;
    });
}

void TFDietri::SBimprimerClick() {
    ErrorHandler::run(m_talimtri->run().prompter(), [&] {
        if (!m_talimtri->isOpen()) return;
        PrintJob job(m_desktop.printers(), QStringLiteral("tri"), QPageLayout::Portrait);
        QPainter& painter = job.begin();
        PainterSurface surface(painter, Qt::white);
        {
            // The printout walks the foods; the grid comes back to the first.
            const DataGrid::Pause pause(DBGrid1);
            imprimeTri(surface, job.printer().width(), *m_classement, *m_talimtri);
        }
        job.finish();
    });
}

void TFDietri::SBsortirClick() { close(); }

void TFDietri::RBprot_aClick() { changeSortOrder(0); }
void TFDietri::RBprot_vClick() { changeSortOrder(1); }
void TFDietri::RBgluc_sClick() { changeSortOrder(2); }
void TFDietri::RBgluc_aClick() { changeSortOrder(3); }
void TFDietri::RBlip_aClick() { changeSortOrder(4); }
void TFDietri::RBlip_vClick() { changeSortOrder(5); }
void TFDietri::RBa_g_satClick() { changeSortOrder(6); }
void TFDietri::RBa_g_monoClick() { changeSortOrder(7); }
void TFDietri::RBa_g_polyClick() { changeSortOrder(8); }
void TFDietri::RBcalciumClick() { changeSortOrder(9); }
void TFDietri::RBchloreClick() { changeSortOrder(10); }
void TFDietri::RBcuivreClick() { changeSortOrder(11); }
void TFDietri::RBferClick() { changeSortOrder(12); }
void TFDietri::RBiClick() { changeSortOrder(13); }
void TFDietri::RBmagnesiumClick() { changeSortOrder(14); }
void TFDietri::RBmanganeseClick() { changeSortOrder(15); }
void TFDietri::RBphosphoreClick() { changeSortOrder(16); }
void TFDietri::RBkClick() { changeSortOrder(17); }
void TFDietri::RBnaClick() { changeSortOrder(18); }
void TFDietri::RBsClick() { changeSortOrder(19); }
void TFDietri::RBznClick() { changeSortOrder(20); }
void TFDietri::RBvit_aClick() { changeSortOrder(21); }
void TFDietri::RBvit_B1Click() { changeSortOrder(22); }
void TFDietri::RBvit_B2Click() { changeSortOrder(23); }
void TFDietri::RBvit_B6Click() { changeSortOrder(24); }
void TFDietri::RBvit_B9Click() { changeSortOrder(25); }
void TFDietri::RBvit_CClick() { changeSortOrder(26); }
void TFDietri::RBvit_DClick() { changeSortOrder(27); }
void TFDietri::RBvit_PPClick() { changeSortOrder(28); }
void TFDietri::RBcholesterolClick() { changeSortOrder(29); }
