#include "suggest/completer.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "core/schema/numformat.h"
#include "core/interfaces/prompter.h"
#include "core/needs/efsareference.h"
#include "core/needs/personneeds.h"
#include "core/diagnosis/page2.h"
#include "core/schema/schema.h"
#include "core/session/session.h"
#include "core/suggest/completiondata.h"
#include "ui/errorhandler.h"
#include "core/io/runcontext.h"

namespace {
constexpr int kContexte = 20;
// A moment after a change, so that several ticks in a row propose once.
constexpr int kDelaiMs = 300;

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

QTableWidgetItem* cell(const QString& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// A rate as page 2 writes it, or the dash when the need is 0.
QString rate(std::optional<double> r) { return fixedOrDash(r, 7, 2).trimmed() + QStringLiteral(" %"); }

// The wait cursor until the scope ends.
auto waitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return qScopeGuard([] { QApplication::restoreOverrideCursor(); });
}
}   // namespace

TFcompleter::TFcompleter(Session& session, const EfsaReference& efsa, QWidget* parent)
    : ModalWindow(parent, kContexte), m_session(session), m_efsa(efsa) {
    setObjectName(QStringLiteral("Fcompleter"));
    setWindowTitle(QStringLiteral("Compléter la ration"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_later = new QTimer(this);
    m_later->setSingleShot(true);
    m_later->setInterval(kDelaiMs);
    connect(m_later, &QTimer::timeout, this, [this] { SBproposerClick(); });
    build();
    resize(980, 560);
}

TFcompleter::~TFcompleter() = default;

void TFcompleter::build() {
    CBgroupe = new QComboBox(this);
    CBgroupe->setObjectName(QStringLiteral("CBgroupe"));
    for (const PopulationGroup& g : populationGroups()) CBgroupe->addItem(g.caption);
    SEnombre = new QSpinBox(this);
    SEnombre->setObjectName(QStringLiteral("SEnombre"));
    SEnombre->setRange(3, 8);
    SEnombre->setValue(5);
    SEnombre->setSuffix(QStringLiteral(" au plus"));
    SBproposer = new QPushButton(QStringLiteral("&Proposer"), this);
    SBproposer->setObjectName(QStringLiteral("SBproposer"));
    SBproposer->setAutoDefault(false);

    LBcategories = new QListWidget(this);
    LBcategories->setObjectName(QStringLiteral("LBcategories"));
    for (const QString& c : categories()) {
        auto* item = new QListWidgetItem(c, LBcategories);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    LBexclus = new QListWidget(this);
    LBexclus->setObjectName(QStringLiteral("LBexclus"));
    CBaliment = new QComboBox(this);
    CBaliment->setObjectName(QStringLiteral("CBaliment"));
    CBaliment->setEditable(true);
    CBaliment->setInsertPolicy(QComboBox::NoInsert);
    CBaliment->completer()->setFilterMode(Qt::MatchContains);
    CBaliment->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    CBaliment->completer()->setCompletionMode(QCompleter::PopupCompletion);
    SBexclure = new QPushButton(QStringLiteral("E&xclure"), this);
    SBexclure->setObjectName(QStringLiteral("SBexclure"));
    SBretablir = new QPushButton(QStringLiteral("&Rétablir"), this);
    SBretablir->setObjectName(QStringLiteral("SBretablir"));

    DBGproposition = new QTableWidget(0, 2, this);
    DBGproposition->setObjectName(QStringLiteral("DBGproposition"));
    DBGproposition->setHorizontalHeaderLabels({QStringLiteral("Aliment"), QStringLiteral("Quantité")});
    SBrefuser = new QPushButton(QStringLiteral("Re&fuser cet aliment"), this);
    SBrefuser->setObjectName(QStringLiteral("SBrefuser"));
    SBrefuser->setToolTip(QStringLiteral("Ne plus jamais proposer l'aliment choisi dans la proposition"));
    DBGtaux = new QTableWidget(LignesPage2().size(), 5, this);
    DBGtaux->setObjectName(QStringLiteral("DBGtaux"));
    DBGtaux->setHorizontalHeaderLabels({QStringLiteral("Nutriment"), QStringLiteral("Besoin"),
                                        QStringLiteral("Avant"), QStringLiteral("Après"),
                                        QStringLiteral("Limite")});
    DBGtaux->horizontalHeaderItem(4)->setToolTip(
        QStringLiteral("Limite supérieure de sécurité (EFSA) que la proposition ne fait pas dépasser"));
    for (QTableWidget* t : {DBGproposition, DBGtaux}) {
        t->verticalHeader()->hide();
        t->setSelectionBehavior(QAbstractItemView::SelectRows);
        t->setSelectionMode(QAbstractItemView::SingleSelection);
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
        t->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
        t->setTabKeyNavigation(false);
    }
    DBGproposition->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    DBGtaux->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    Lnotes = new QLabel(this);
    Lnotes->setObjectName(QStringLiteral("Lnotes"));
    Lnotes->setWordWrap(true);
    Lnotes->setTextFormat(Qt::PlainText);
    Lnotes->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Lnotes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Lnotes->setMinimumHeight(fontMetrics().height() * 5);

    SBajouter = new QPushButton(QStringLiteral("&Ajouter à la journée"), this);
    SBajouter->setObjectName(QStringLiteral("SBajouter"));
    SBajouter->setDefault(true);
    SBfermer = new QPushButton(QStringLiteral("Fermer"), this);
    SBfermer->setObjectName(QStringLiteral("SBfermer"));
    SBfermer->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(buddyLabel(QStringLiteral("&Groupe :"), CBgroupe, this));
    top->addWidget(CBgroupe, 1);
    top->addSpacing(12);
    top->addWidget(buddyLabel(QStringLiteral("&Nombre d'aliments :"), SEnombre, this));
    top->addWidget(SEnombre);
    top->addSpacing(12);
    top->addWidget(SBproposer);

    // Three columns: what is never proposed, the proposal and its notes, and
    // page 2's rates before and after (all 21 rows in sight).
    auto* left = new QVBoxLayout;
    left->addWidget(buddyLabel(QStringLiteral("&Catégories proposées :"), LBcategories, this));
    left->addWidget(LBcategories, 3);
    left->addWidget(buddyLabel(QStringLiteral("Aliments &jamais proposés :"), LBexclus, this));
    left->addWidget(LBexclus, 2);
    left->addWidget(SBretablir);
    left->addWidget(buddyLabel(QStringLiteral("Al&iment à exclure :"), CBaliment, this));
    auto* exclure = new QHBoxLayout;
    exclure->addWidget(CBaliment, 1);
    exclure->addWidget(SBexclure);
    left->addLayout(exclure);

    auto* middle = new QVBoxLayout;
    middle->addWidget(buddyLabel(QStringLiteral("Pr&oposition :"), DBGproposition, this));
    middle->addWidget(DBGproposition, 2);
    middle->addWidget(SBrefuser, 0, Qt::AlignLeft);
    middle->addWidget(Lnotes, 3);

    auto* right = new QVBoxLayout;
    right->addWidget(buddyLabel(QStringLiteral("&Taux de la page 2, avant et après :"), DBGtaux, this));
    right->addWidget(DBGtaux, 1);
    const int rows = DBGtaux->rowCount();
    DBGtaux->setMinimumHeight(DBGtaux->verticalHeader()->defaultSectionSize() * rows +
                              DBGtaux->horizontalHeader()->sizeHint().height() + 2 * DBGtaux->frameWidth() + 2);
    DBGproposition->setMinimumHeight(DBGproposition->verticalHeader()->defaultSectionSize() * 8 +
                                     DBGproposition->horizontalHeader()->sizeHint().height() + 4);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 4);
    columns->addLayout(middle, 5);
    columns->addLayout(right, 7);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(SBajouter);
    bottom->addWidget(SBfermer);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);

    setTabOrder(CBgroupe, SEnombre);
    setTabOrder(SEnombre, SBproposer);
    setTabOrder(SBproposer, LBcategories);
    setTabOrder(LBcategories, LBexclus);
    setTabOrder(LBexclus, SBretablir);
    setTabOrder(SBretablir, CBaliment);
    setTabOrder(CBaliment, SBexclure);
    setTabOrder(SBexclure, DBGproposition);
    setTabOrder(DBGproposition, SBrefuser);
    setTabOrder(SBrefuser, DBGtaux);
    setTabOrder(DBGtaux, SBajouter);
    setTabOrder(SBajouter, SBfermer);

    connect(SBproposer, &QPushButton::clicked, this, [this] { SBproposerClick(); });
    connect(SBajouter, &QPushButton::clicked, this, [this] { SBajouterClick(); });
    connect(SBfermer, &QPushButton::clicked, this, &QDialog::reject);
    connect(SBrefuser, &QPushButton::clicked, this, [this] { SBrefuserClick(); });
    connect(SBexclure, &QPushButton::clicked, this, [this] { SBexclureClick(); });
    connect(SBretablir, &QPushButton::clicked, this, [this] { SBretablirClick(); });
    connect(LBcategories, &QListWidget::itemChanged, this, [this] { LBcategoriesChange(); });
    connect(CBgroupe, &QComboBox::currentIndexChanged, this, [this] {
        if (m_loading) return;
        ErrorHandler::run(m_session.prompter(), [&] { readNeeds(); });
        proposeLater();
    });
    connect(SEnombre, &QSpinBox::valueChanged, this, [this] {
        if (!m_loading) proposeLater();
    });
}

void TFcompleter::setGroup(const QString& caption, bool fixed) {
    const int i = CBgroupe->findText(caption);
    if (i >= 0) CBgroupe->setCurrentIndex(i);
    CBgroupe->setEnabled(!fixed);
}

void TFcompleter::setPerson(const QString& title, const GroupNeeds& needs, const UpperLimits& limits) {
    m_personne = true;
    m_personNeeds = needs;
    m_personLimits = limits;
    const QSignalBlocker block(CBgroupe);
    CBgroupe->clear();
    CBgroupe->addItem(title);
    CBgroupe->setEnabled(false);
}

void TFcompleter::readNeeds() {
    m_request.groupName = CBgroupe->currentText();
    m_request.limitsUnknown.clear();
    if (m_personne) {
        m_request.needs = m_personNeeds;
        m_request.limits = m_personLimits;
        return;
    }
    const QString column = colonneDuGroupe(m_request.groupName);
    m_request.needs = CompletionData::readNeeds(m_session.run(), column);
    try {
        m_request.limits = PersonNeedsRules::groupUpperLimits(column, m_efsa.table());
    } catch (const DataError& e) {
        m_request.limits = UpperLimits();
        m_request.limitsUnknown = e.message();
    }
}

bool TFcompleter::FormShow() {
    m_loading = true;
    const auto done = qScopeGuard([this] { m_loading = false; });
    RunContext& run = m_session.run();
    const bool read = ErrorHandler::run(m_session.prompter(), [&] {
        m_request = CompletionRequest{};
        m_request.exclusions = CompletionData::readExclusions(run);
        m_request.foods = CompletionData::readFoods(run);
        readNeeds();
        m_request.day = CompletionData::readDay(run);
        m_session.totals() = m_request.day;
    });
    if (!read) return false;
    QStringList names;
    for (const CandidateFood& f : m_request.foods) names << f.name;
    names.sort(Qt::CaseInsensitive);
    CBaliment->clear();
    CBaliment->addItems(names);
    CBaliment->setCurrentIndex(-1);
    CBaliment->clearEditText();
    showExclusions();
    m_loading = false;
    SBproposerClick();
    return true;
}

void TFcompleter::FormClose() { m_later->stop(); }

void TFcompleter::proposeLater() {
    m_stale = true;
    SBajouter->setEnabled(false);
    m_later->start();
}

void TFcompleter::SBproposerClick() {
    m_later->stop();
    m_request.maxFoods = SEnombre->value();
    {
        const auto wait = waitCursor();
        m_completion = completeDay(m_request, m_options);
    }
    m_stale = false;
    showCompletion();
}

void TFcompleter::showExclusions() {
    const bool was = LBcategories->blockSignals(true);
    for (int i = 0; i < LBcategories->count(); ++i) {
        QListWidgetItem* item = LBcategories->item(i);
        item->setCheckState(m_request.exclusions.categories.contains(item->text()) ? Qt::Unchecked
                                                                                   : Qt::Checked);
    }
    LBcategories->blockSignals(was);
    LBexclus->clear();
    LBexclus->addItems(m_request.exclusions.foods);
    SBretablir->setEnabled(LBexclus->count() > 0);
    if (LBexclus->count() > 0) LBexclus->setCurrentRow(0);
}

void TFcompleter::showCompletion() {
    const Completion& c = m_completion;
    DBGproposition->setRowCount(0);
    for (const ProposedLine& l : c.lines) {
        const CandidateFood& f = m_request.foods[l.food];
        const int row = DBGproposition->rowCount();
        DBGproposition->insertRow(row);
        DBGproposition->setItem(row, 0, cell(f.name));
        DBGproposition->setItem(row, 1,
                                cell(QStringLiteral("%1 g").arg(l.grams), Qt::AlignRight | Qt::AlignVCenter));
        DBGproposition->item(row, 0)->setToolTip(f.category + QStringLiteral(" — ") + f.portion.rule);
    }
    DBGproposition->resizeColumnToContents(1);
    if (DBGproposition->rowCount() > 0) DBGproposition->selectRow(0);
    SBrefuser->setEnabled(DBGproposition->rowCount() > 0);

    // Page 2's rows: the need, the rate before and the rate after.
    DiagnosisData before, after;
    before.totals = m_request.day;
    before.needs = after.needs = m_request.needs;
    after.totals = c.status == Completion::Status::Proposed ? c.after : m_request.day;
    const QVector<LignePage2>& rows = LignesPage2();
    for (int i = 0; i < rows.size(); ++i) {
        const LignePage2& r = rows[i];
        DBGtaux->setItem(i, 0, cell(r.label.mid(2)));
        DBGtaux->setItem(i, 1,
                         cell(NumFormat::Fixed(m_request.needs[r.need] * r.factor, 0, 2) + r.suffix,
                              Qt::AlignRight | Qt::AlignVCenter));
        const std::optional<double> b = tauxDe(r, before), a = tauxDe(r, after);
        DBGtaux->setItem(i, 2, cell(rate(b), Qt::AlignRight | Qt::AlignVCenter));
        auto* afterCell = cell(rate(a), Qt::AlignRight | Qt::AlignVCenter);
        // A rate still under its target stands out in bold red; one the
        // proposal raises, in green. Energy's label is red, as on page 2.
        if (a && *a < targetOf(i)) {
            afterCell->setForeground(QColor(Qt::red));
            QFont bold = afterCell->font();
            bold.setBold(true);
            afterCell->setFont(bold);
        } else if (a && b && *a > *b) {
            afterCell->setForeground(QColor(Qt::darkGreen));
        }
        DBGtaux->setItem(i, 3, afterCell);
        const double limit = m_request.limits[r.need];
        DBGtaux->setItem(i, 4,
                         cell(limit > 0 ? NumFormat::Fixed(limit * r.factor, 0, 2) + r.suffix : QString(),
                              Qt::AlignRight | Qt::AlignVCenter));
        if (i == 0) DBGtaux->item(i, 0)->setForeground(QColor(Qt::red));
    }
    DBGtaux->resizeColumnsToContents();
    DBGtaux->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    QStringList text;
    if (c.status != Completion::Status::Proposed) text << c.message;
    text << c.notes;
    for (const Shortfall& s : c.shortfalls) text << s.text;
    if (c.status == Completion::Status::Proposed && c.shortfalls.isEmpty())
        text << QStringLiteral(
            "Avec ces aliments, chaque taux de la page 2 atteint 100 % et l'énergie est entre 95 "
            "et 105 % du besoin.");
    for (QString& t : text) t = QStringLiteral("• ") + t;
    Lnotes->setText(text.join(QLatin1Char('\n')));
    QPalette p = Lnotes->palette();
    const bool failed = c.status == Completion::Status::TimedOut ||
                        c.status == Completion::Status::SolverFailed || c.status == Completion::Status::Refused;
    p.setColor(QPalette::WindowText, failed ? QColor(Qt::red) : palette().color(QPalette::WindowText));
    Lnotes->setPalette(p);
    SBajouter->setEnabled(c.status == Completion::Status::Proposed && !m_stale);
}

void TFcompleter::SBajouterClick() {
    if (m_stale || m_completion.status != Completion::Status::Proposed) return;
    const bool added = ErrorHandler::run(m_session.prompter(), [&] {
        CompletionData::addToDay(m_session.run(), m_request, m_completion.lines);
        m_session.totals() = CompletionData::readDay(m_session.run());
    });
    if (added) accept();
}

bool TFcompleter::keepExclusions(const Exclusions& next) {
    const bool kept = ErrorHandler::run(m_session.prompter(),
                                        [&] { CompletionData::writeExclusions(m_session.run(), next); });
    if (kept) m_request.exclusions = next;
    showExclusions();
    if (kept) proposeLater();
    return kept;
}

void TFcompleter::LBcategoriesChange() {
    Exclusions next = m_request.exclusions;
    next.categories.clear();
    for (int i = 0; i < LBcategories->count(); ++i)
        if (LBcategories->item(i)->checkState() != Qt::Checked)
            next.categories.insert(LBcategories->item(i)->text());
    if (next.categories != m_request.exclusions.categories) keepExclusions(next);
}

void TFcompleter::SBrefuserClick() {
    const int row = DBGproposition->currentRow();
    if (row < 0 || row >= m_completion.lines.size()) return;
    Exclusions next = m_request.exclusions;
    next.foods << m_request.foods[m_completion.lines[row].food].name;
    keepExclusions(next);
}

void TFcompleter::SBexclureClick() {
    const QString typed = CBaliment->currentText().trimmed();
    if (typed.isEmpty()) return;
    QString name;
    for (const CandidateFood& f : m_request.foods)
        if (f.name.compare(typed, Qt::CaseInsensitive) == 0) name = f.name;
    if (name.isEmpty()) {
        m_session.prompter().message(
            Prompter::Kind::Information,
            QStringLiteral("L'aliment %1 n'est pas dans la table des aliments.").arg(typed));
        return;
    }
    if (m_request.exclusions.foods.contains(name)) return;
    Exclusions next = m_request.exclusions;
    next.foods << name;
    if (keepExclusions(next)) CBaliment->clearEditText();
}

void TFcompleter::SBretablirClick() {
    const int row = LBexclus->currentRow();
    if (row < 0 || row >= m_request.exclusions.foods.size()) return;
    Exclusions next = m_request.exclusions;
    next.foods.removeAt(row);
    keepExclusions(next);
}
