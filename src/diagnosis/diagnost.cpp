// How data flows through the diagnosis window: FormShow reads the Needs
// table (Tbesoins, kept open while shown) and the Choice table (through the
// composition window's handle, opened, summed into the Daily totals, closed)
// into m_data; the page area's paintEvent draws page 1 or page 2 from m_data
// only; the print button draws both pages from m_data on the printer. An
// empty choice, an error of the tables, or the start-up reading end the
// showing with a message (or none) and close the window, outside any paint.
#include "diagnosis/diagnost.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>
#include <exception>
#include <functional>

#include "core/schema/schema.h"
#include "core/table/table.h"
#include "diagnosis/glyphs.h"
#include "diagnosis/impression.h"
#include "core/diagnosis/page1.h"
#include "core/diagnosis/page2.h"
#include "compose/compose.h"
#include "core/session/session.h"
#include "ui/errorhandler.h"
#include "ui/help.h"
#include "ui/paintersurface.h"
#include "core/interfaces/prompter.h"

namespace {
// The page area: white, painted from the window's data.
class PageBilan : public QWidget {
public:
    PageBilan(TFdiagnost* owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        PainterSurface surface(painter, Qt::white);
        m_owner->dessinePage(surface);
    }

private:
    TFdiagnost* m_owner;
};

QToolButton* speedButton(QWidget* panel, int y, const QIcon& glyph, const QString& tip) {
    auto* b = new QToolButton(panel);
    b->setGeometry(5, y, 22, 22);
    b->setIcon(glyph);
    b->setIconSize(QSize(16, 16));
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}
}  // namespace

TFdiagnost::TFdiagnost(Session& session, TFcompose& compose, QWidget* parent)
    : ModalWindow(parent, 19),
      m_session(session),
      m_compose(compose),
      Tbesoins(std::make_unique<Table>(needsSchema())) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("Fdiagnost"));
    Tbesoins->setDirectory(m_session.dataDir());
    Tbesoins->setReadOnly(true);

    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(13);
    setFont(arial);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_pageArea = new PageBilan(this, this);
    layout->addWidget(m_pageArea, 1);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(30);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setPalette(QApplication::palette());
    Panel1->setAutoFillBackground(true);
    layout->addWidget(Panel1);

    SBpage1 = speedButton(Panel1, 9, Glyphes::page(1), QStringLiteral("Page 1"));
    SBpage2 = speedButton(Panel1, 38, Glyphes::page(2), QStringLiteral("Page 2"));
    SBimprimer = speedButton(Panel1, 67, Glyphes::imprimer(), QStringLiteral("Imprimer"));
    SBsortir = speedButton(Panel1, 96, Glyphes::sortir(), QStringLiteral("Sortir"));
    SBpage1->setObjectName(QStringLiteral("SBpage1"));
    SBpage2->setObjectName(QStringLiteral("SBpage2"));
    SBimprimer->setObjectName(QStringLiteral("SBimprimer"));
    SBsortir->setObjectName(QStringLiteral("SBsortir"));
    SBpage1->setCheckable(true);
    SBpage2->setCheckable(true);
    m_pages = new QButtonGroup(this);
    m_pages->setExclusive(true);
    m_pages->addButton(SBpage1);
    m_pages->addButton(SBpage2);
    SBpage1->setChecked(true);

    connect(SBpage1, &QToolButton::clicked, this, &TFdiagnost::SBpage1Click);
    connect(SBpage2, &QToolButton::clicked, this, &TFdiagnost::SBpage2Click);
    connect(SBimprimer, &QToolButton::clicked, this, &TFdiagnost::SBimprimerClick);
    connect(SBsortir, &QToolButton::clicked, this, &TFdiagnost::SBsortirClick);

    resize(640, 480);
}

TFdiagnost::~TFdiagnost() = default;

void TFdiagnost::litDonnees() {
    ModeImpression = false;
    NbConseils = 0;
    m_pret = false;
    Tbesoins->open();
    m_data.groupName = NomGroupe(windowTitle());
    m_colonne = ColonneParDefaut;
    ChoixColonne(m_data.groupName, m_colonne);
    LitBesoins(*Tbesoins, m_colonne, m_data.needs);

    // The composition window's handle when it is open; otherwise a read-only
    // handle of our own on the same file, since this reading writes nothing
    // (a read-only Data directory must not fail here).
    DailyTotals& totals = m_session.totals();
    Table& tchoix = m_compose.Tchoix();
    if (tchoix.isOpen()) {
        CalculTotaux(tchoix, totals);
    } else {
        Table lecture(choiceSchema());
        lecture.setDirectory(tchoix.directory());
        lecture.setFileName(tchoix.fileName());
        lecture.setReadOnly(true);
        lecture.open();
        CalculTotaux(lecture, totals);
    }
    m_data.totals = totals;
}

void TFdiagnost::premiereLecture() {
    ErrorHandler::run([&] { litDonnees(); });
    m_session.FirstPaint = false;
    FormClose();
}

bool TFdiagnost::FormShow() {
    std::exception_ptr error;
    try {
        litDonnees();
    } catch (...) {
        error = std::current_exception();
    }
    // Whatever ends this showing is done once the window is up, never while
    // it is being shown: a modal loop started for a hidden window would never
    // end.
    if (m_session.FirstPaint) {
        m_session.FirstPaint = false;
        closeLater();
    } else if (error) {
        closeLater([error] { ErrorHandler::run([&] { std::rethrow_exception(error); }); });
    } else if (m_data.totals[DailyTotals::QTE] == 0.0) {
        closeLater([] {
            prompter().message(Prompter::Kind::Warning, QStringLiteral("Vous n'avez encore rien choisi"));
        });
    } else {
        m_pret = true;
        m_pageArea->update();
    }
    return true;
}

void TFdiagnost::FormClose() {
    SBpage1->setChecked(true);
    m_page = 1;
    m_pret = false;
    Tbesoins->close();
}

void TFdiagnost::dessinePage(Surface& surface) {
    if (!m_pret) return;
    EffacePage(surface);
    if (m_page == 2)
        dessinePage2(surface, DiagLayout::ecran(), m_data);
    else
        NbConseils = dessinePage1(surface, DiagLayout::ecran(), m_data);
}

void TFdiagnost::SBpage1Click() {
    SBpage1->setChecked(true);
    m_page = 1;
    m_pageArea->update();
}

void TFdiagnost::SBpage2Click() {
    SBpage2->setChecked(true);
    m_page = 2;
    m_pageArea->update();
}

void TFdiagnost::SBimprimerClick() {
    if (!m_pret) return;
    ErrorHandler::run([&] {
        DiagnosisData data = m_data;
        data.groupName = NomGroupe(windowTitle());
        ModeImpression = true;
        struct Restore {
            bool& mode;
            ~Restore() { mode = false; }
        } restore{ModeImpression};
        NbConseils = imprimeBilan(data);
    });
}

void TFdiagnost::SBsortirClick() { close(); }
