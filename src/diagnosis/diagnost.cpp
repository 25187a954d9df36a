// How data flows through the diagnosis window: FormShow reads the Needs
// table (Tbesoins, kept open while shown) for the group its opener gave, or
// takes the person's needs given by the opener, and the Choice table (a
// read-only handle of its own, opened, summed into the Daily totals, closed)
// into m_data; the page area's paintEvent draws page 1 or page 2 from m_data
// only; the print button draws both pages from m_data on the printer. An
// empty choice, an error of the tables, or the start-up reading refuse the
// showing (with a message, or none) before the window appears.
// Opened on saved days, FormShow reads the Needs table alone and m_data is
// the mean of the days the opener gave (their totals already read).
#include "diagnosis/diagnost.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <algorithm>
#include <functional>

#include "core/schema/schema.h"
#include "core/table/table.h"
#include "ui/glyphs.h"
#include "diagnosis/impression.h"
#include "core/diagnosis/page1.h"
#include "core/diagnosis/daysbilan.h"
#include "core/diagnosis/page2.h"
#include "core/diagnosis/page3.h"
#include "core/foodtable/ranking.h"
#include "core/session/session.h"
#include "ui/errorhandler.h"
#include "ui/help.h"
#include "ui/iconbutton.h"
#include "ui/paintersurface.h"
#include "ui/desktop.h"

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
        // The selected row of page 2, the chosen column of page 3: a dotted
        // frame over the drawn page.
        const DiagLayout l = DiagLayout::ecran();
        const int ligne = m_owner->ligneChoisie();
        painter.setPen(QPen(Qt::darkGray, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        if (ligne >= 0 && m_owner->pageAffichee() == 2) {
            const int y = l.rowY(l.page2Base + 23 + ligne);
            painter.drawRect(QRect(l.leftLabelX - 4, y - 1, 566, l.h));
        } else if (m_owner->pageAffichee() == 3 && m_owner->donneesLues()) {
            const int colonne =
                colonneDeLignePage2(m_owner->nutrimentChoisi()) + (m_owner->nutrimentChoisi() == 0);
            const int top = l.rowY(3) - 1;
            const int bottom = l.rowY(rangeeMoyennePage3(m_owner->donnees().jours.size()) + 1);
            const int left = bordColonnePage3(l, colonne - 1) + 1;
            painter.drawRect(QRect(left, top, bordColonnePage3(l, colonne) - left, bottom - top));
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        const QPoint p = event->position().toPoint();
        if (m_owner->pageAffichee() == 3)
            m_owner->choisitNutriment(m_owner->nutrimentEn(p.x()));
        else
            m_owner->choisitLigne(m_owner->ligneEn(p.y()));
        QWidget::mousePressEvent(event);
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        const QPoint p = event->position().toPoint();
        if (m_owner->pageAffichee() == 3) {
            const int ligne = m_owner->nutrimentEn(p.x());
            m_owner->choisitNutriment(ligne);
            if (ligne >= 0) m_owner->ouvreLigne(ligne);
            return;
        }
        const int ligne = m_owner->ligneEn(p.y());
        m_owner->choisitLigne(ligne);
        m_owner->ouvreLigne(ligne);
    }

    void keyPressEvent(QKeyEvent* event) override {
        const int page = m_owner->pageAffichee();
        if (page == 3) {
            // The arrows move the chosen nutrient from column to column.
            if (!moveChoice(event, m_owner->nutrimentChoisi(), true,
                            [this](int n) { m_owner->choisitNutriment(n); }))
                QWidget::keyPressEvent(event);
        } else if (page != 2 || !moveChoice(event, m_owner->ligneChoisie(), false,
                                            [this](int l) { m_owner->choisitLigne(l); })) {
            QWidget::keyPressEvent(event);
        }
    }

private:
    // Up and Down (and, across page 3's columns, Left and Right) move the
    // choice among the rows of page 2; Return opens the chosen row's ranking.
    // False for any other key.
    bool moveChoice(QKeyEvent* event, int current, bool across, const std::function<void(int)>& choose) {
        const int key = event->key();
        const int count = static_cast<int>(LignesPage2().size());
        if (key == Qt::Key_Up || (across && key == Qt::Key_Left))
            choose(std::max(current - 1, 0));
        else if (key == Qt::Key_Down || (across && key == Qt::Key_Right))
            choose(current < 0 ? 0 : std::min(current + 1, count - 1));
        else if (key == Qt::Key_Return || key == Qt::Key_Enter)
            m_owner->ouvreLigne(current);
        else
            return false;
        event->accept();
        return true;
    }

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
}   // namespace

TFdiagnost::TFdiagnost(Session& session, Desktop& desktop, QWidget* parent)
    : ModalWindow(parent, 19),
      m_session(session),
      m_desktop(desktop),
      Tbesoins(std::make_unique<Table>(session.run(), needsSchema())) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("Fdiagnost"));
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
    m_pageArea->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(m_pageArea, 1);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(30);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setPalette(QApplication::palette());
    Panel1->setAutoFillBackground(true);
    layout->addWidget(Panel1);

    SBpage1 = speedButton(Panel1, 9, Glyphs::page(1), QStringLiteral("Page 1"));
    SBpage2 = speedButton(Panel1, 38, Glyphs::page(2), QStringLiteral("Page 2"));
    SBimprimer = speedButton(Panel1, 67, Glyphs::print(), QStringLiteral("Imprimer"));
    SBsortir = speedButton(Panel1, 96, Glyphs::exit(), QStringLiteral("Sortir"));
    // Below the four buttons of the bilan: the proposal that completes the
    // day, or for several days their page 3 in its place.
    SBcompleter = speedButton(Panel1, 125, Glyphs::complete(), QStringLiteral("Compléter la ration"));
    SBpage3 = speedButton(Panel1, 125, Glyphs::page(3), QStringLiteral("Jour par jour"));
    // The buttons take no focus, so that the arrows and Tab stay with the page;
    // their shortcuts, shown in their hints, reach them from the keyboard.
    for (auto [b, key] : {std::pair<QToolButton*, QKeySequence>{SBpage1, QKeySequence(Qt::CTRL | Qt::Key_1)},
                          {SBpage2, QKeySequence(Qt::CTRL | Qt::Key_2)},
                          {SBimprimer, QKeySequence(Qt::CTRL | Qt::Key_P)},
                          {SBcompleter, QKeySequence(Qt::CTRL | Qt::Key_3)},
                          {SBpage3, QKeySequence(Qt::CTRL | Qt::Key_3)}}) {
        b->setShortcut(key);
        b->setToolTip(IconButton::bulle(b->toolTip(), {key}));
    }
    SBpage1->setObjectName(QStringLiteral("SBpage1"));
    SBpage2->setObjectName(QStringLiteral("SBpage2"));
    SBimprimer->setObjectName(QStringLiteral("SBimprimer"));
    SBcompleter->setObjectName(QStringLiteral("SBcompleter"));
    SBpage3->setObjectName(QStringLiteral("SBpage3"));
    SBsortir->setObjectName(QStringLiteral("SBsortir"));
    SBpage1->setCheckable(true);
    SBpage2->setCheckable(true);
    SBpage3->setCheckable(true);
    m_pages = new QButtonGroup(this);
    m_pages->setExclusive(true);
    m_pages->addButton(SBpage1);
    m_pages->addButton(SBpage2);
    m_pages->addButton(SBpage3);
    SBpage1->setChecked(true);
    montreBoutons();

    connect(SBpage1, &QToolButton::clicked, this, &TFdiagnost::SBpage1Click);
    connect(SBpage2, &QToolButton::clicked, this, &TFdiagnost::SBpage2Click);
    connect(SBpage3, &QToolButton::clicked, this, &TFdiagnost::SBpage3Click);
    connect(SBimprimer, &QToolButton::clicked, this, &TFdiagnost::SBimprimerClick);
    connect(SBcompleter, &QToolButton::clicked, this, &TFdiagnost::SBcompleterClick);
    connect(SBsortir, &QToolButton::clicked, this, &TFdiagnost::SBsortirClick);

    resize(640, 480);
}

TFdiagnost::~TFdiagnost() = default;

void TFdiagnost::setGroup(const QString& groupe) {
    m_groupe = groupe;
    m_jours.clear();
    m_personne.reset();
    setWindowTitle(groupe + SuffixeBilan);
    montreBoutons();
}

void TFdiagnost::commenceLecture() { m_pret = false; }

GroupNeeds TFdiagnost::besoinsDuGroupe(const QString& groupe) {
    Tbesoins->open();
    m_colonne = ColonneParDefaut;
    ChoixColonne(groupe, m_colonne);
    GroupNeeds needs;
    LitBesoins(*Tbesoins, m_colonne, needs);
    return needs;
}

void TFdiagnost::litDonnees() {
    commenceLecture();
    if (m_personne) {
        m_data.groupName = m_personne->title;
        m_data.subtitle = m_personne->parameters;
        m_data.needs = m_personne->needs;
        m_colonne.clear();
    } else {
        m_data.groupName = m_groupe;
        m_data.subtitle.clear();
        m_data.needs = besoinsDuGroupe(m_data.groupName);
    }

    // A read-only handle of our own on the day's Choice table, since this
    // reading writes nothing (a read-only Data directory must not fail here);
    // every change to the day is on disk at once, so it reads the day as it is.
    DailyTotals& totals = m_session.totals();
    Table lecture(m_session.run(), choiceSchema());
    lecture.setIndexName(QString());
    lecture.setReadOnly(true);
    lecture.open();
    CalculTotaux(lecture, totals);
    m_data.nonMesures = lisNonMesures(lecture, m_session.dataDir());
    m_data.totals = totals;
    m_data.nonMesures.aliments = alimentsNonMesuresPage2(m_data.nonMesures);
}

void TFdiagnost::setDays(const QString& groupe, const QVector<SavedDay>& jours) {
    m_groupe = groupe;
    m_jours = jours;
    setWindowTitle(groupe + QStringLiteral(" : ") + titreMoyenne(static_cast<int>(jours.size())));
    montreBoutons();
}

void TFdiagnost::montreBoutons() {
    const bool jours = !m_jours.isEmpty();
    SBpage3->setVisible(jours);
    SBcompleter->setVisible(!jours);
}

void TFdiagnost::litJours() {
    commenceLecture();
    m_data = bilanDesJours(m_jours, m_groupe, besoinsDuGroupe(m_groupe));
    m_nutriment = nutrimentParDefaut(m_data);
}

void TFdiagnost::premiereLecture() {
    ErrorHandler::run(m_session.prompter(), [&] { litDonnees(); });
    m_session.FirstPaint = false;
    FormClose();
}

bool TFdiagnost::FormShow() {
    // The start-up reading is premiereLecture's: the window does not appear.
    if (m_session.FirstPaint) {
        m_session.FirstPaint = false;
        return false;
    }
    // A table that cannot be read, or a day without any line, is said before
    // the window would appear, and it does not appear.
    const bool read = ErrorHandler::run(m_session.prompter(), [&] {
        if (m_jours.isEmpty())
            litDonnees();
        else
            litJours();
    });
    if (read && m_data.totals[DailyTotals::QTE] == 0.0)
        m_session.prompter().message(Prompter::Kind::Warning, QStringLiteral("Vous n'avez encore rien choisi"));
    if (!read || m_data.totals[DailyTotals::QTE] == 0.0) {
        FormClose();
        return false;
    }
    m_pret = true;
    m_pageArea->update();
    return true;
}

void TFdiagnost::FormClose() {
    SBpage1->setChecked(true);
    m_page = 1;
    m_ligne = -1;
    m_pret = false;
    Tbesoins->close();
    // The next opening from the Diagnostic menu is the day's choice again.
    m_jours.clear();
    montreBoutons();
}

void TFdiagnost::dessinePage(Surface& surface) {
    if (!m_pret) return;
    EffacePage(surface);
    if (m_page == 2)
        dessinePage2(surface, DiagLayout::ecran(), m_data);
    else if (m_page == 3)
        dessinePage3Ecran(surface, m_data, m_nutriment);
    else
        dessinePage1(surface, DiagLayout::ecran(), m_data);
}

void TFdiagnost::SBpage1Click() {
    SBpage1->setChecked(true);
    m_page = 1;
    m_ligne = -1;
    m_pageArea->update();
}

void TFdiagnost::SBpage2Click() {
    SBpage2->setChecked(true);
    m_page = 2;
    m_pageArea->update();
}

void TFdiagnost::SBpage3Click() {
    if (m_jours.isEmpty()) return;
    SBpage3->setChecked(true);
    m_page = 3;
    m_ligne = -1;
    m_pageArea->update();
}

void TFdiagnost::SBimprimerClick() {
    if (!m_pret) return;
    ErrorHandler::run(m_session.prompter(), [&] {
        DiagnosisData data = m_data;
        if (!m_personne && m_jours.isEmpty()) data.groupName = m_groupe;
        imprimeBilan(m_desktop.printers(), data, m_nutriment);
    });
}

void TFdiagnost::SBsortirClick() { close(); }

void TFdiagnost::setOpenCompletion(OpenCompletion ouvre) { m_ouvreComplement = std::move(ouvre); }

void TFdiagnost::setPerson(const PersonBilan& personne) {
    m_personne = personne;
    m_jours.clear();
    setWindowTitle(personne.caption());
    montreBoutons();
}

void TFdiagnost::SBcompleterClick() {
    if (!m_pret || !m_ouvreComplement || !m_jours.isEmpty()) return;
    bool ajoute = false;
    ErrorHandler::run(m_session.prompter(), [&] {
        ajoute = m_ouvreComplement(m_data.groupName, m_personne ? &*m_personne : nullptr);
    });
    if (!ajoute) return;
    // The day has new lines: read it again and show it, on the page shown.
    if (ErrorHandler::run(m_session.prompter(), [&] { litDonnees(); })) {
        m_pret = true;
        m_ligne = -1;
        m_pageArea->update();
    } else {
        close();
    }
}

void TFdiagnost::setOpenRanking(std::function<void(const QString&)> ouvre) {
    m_ouvreClassement = std::move(ouvre);
}

int TFdiagnost::ligneEn(int y) const {
    if (!m_pret || m_page != 2) return -1;
    return lignePage2En(DiagLayout::ecran(), y);
}

void TFdiagnost::choisitLigne(int index) {
    if (m_page != 2 || index >= LignesPage2().size()) index = -1;
    if (index == m_ligne) return;
    m_ligne = index;
    m_pageArea->update();
}

int TFdiagnost::nutrimentEn(int x) const {
    if (!m_pret || m_page != 3) return -1;
    return lignePage2EnX(DiagLayout::ecran(), x);
}

void TFdiagnost::choisitNutriment(int ligne) {
    if (m_page != 3 || ligne < 0 || ligne >= LignesPage2().size() || ligne == m_nutriment) return;
    m_nutriment = ligne;
    m_pageArea->update();
}

void TFdiagnost::ouvreLigne(int index) {
    if (!m_pret || (m_page != 2 && m_page != 3) || index < 0 || index >= LignesPage2().size() ||
        !m_ouvreClassement)
        return;
    const QString champ = champPage2(LignesPage2()[index]);
    if (!classementDe(champ)) return;
    ErrorHandler::run(m_session.prompter(), [&] { m_ouvreClassement(champ); });
}
