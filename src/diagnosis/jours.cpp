#include "diagnosis/jours.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/schema/numformat.h"
#include "core/interfaces/prompter.h"
#include "core/io/runcontext.h"
#include "ui/errorhandler.h"

namespace {
enum Colonne { Jour, Date, Lignes, Energie, Remarque };
enum Etape { EtapeJours, EtapeGroupes };
}   // namespace

TFjours::TFjours(RunContext& run, const QStringList& groupes, const QString& groupeInitial, OuvreBilan ouvre,
                 QWidget* parent)
    : ModalWindow(parent, 22),
      m_run(run),
      m_groupes(groupes),
      m_groupeInitial(groupeInitial),
      m_ouvre(std::move(ouvre)) {
    setObjectName(QStringLiteral("Fjours"));
    setWindowTitle(QStringLiteral("Bilan de plusieurs jours"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(620, 420);

    m_etapes = new QStackedWidget(this);

    auto* pageJours = new QWidget(m_etapes);
    Ljours = new QLabel(QStringLiteral("&Jours enregistrés (cochez-en de 2 à 14) :"), pageJours);
    DBGjours = new QTreeWidget(pageJours);
    DBGjours->setObjectName(QStringLiteral("DBGjours"));
    DBGjours->setRootIsDecorated(false);
    DBGjours->setUniformRowHeights(true);
    DBGjours->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGjours->setHeaderLabels({QStringLiteral("Jour"), QStringLiteral("Date"), QStringLiteral("Lignes"),
                               QStringLiteral("Énergie"), QStringLiteral("Remarque")});
    DBGjours->header()->setStretchLastSection(true);
    DBGjours->header()->setSectionsMovable(false);
    DBGjours->installEventFilter(this);
    Ljours->setBuddy(DBGjours);
    Lcoches = new QLabel(pageJours);
    Lcoches->setObjectName(QStringLiteral("Lcoches"));
    Lcoches->setWordWrap(true);
    auto* joursLayout = new QVBoxLayout(pageJours);
    joursLayout->setContentsMargins(0, 0, 0, 0);
    joursLayout->addWidget(Ljours);
    joursLayout->addWidget(DBGjours, 1);
    joursLayout->addWidget(Lcoches);

    auto* pageGroupes = new QWidget(m_etapes);
    Lgroupes = new QLabel(QStringLiteral("&Groupe de population :"), pageGroupes);
    LBgroupes = new QListWidget(pageGroupes);
    LBgroupes->setObjectName(QStringLiteral("LBgroupes"));
    LBgroupes->addItems(m_groupes);
    Lgroupes->setBuddy(LBgroupes);
    auto* groupesLayout = new QVBoxLayout(pageGroupes);
    groupesLayout->setContentsMargins(0, 0, 0, 0);
    Lresume = new QLabel(pageGroupes);
    Lresume->setObjectName(QStringLiteral("Lresume"));
    Lresume->setWordWrap(true);
    groupesLayout->addWidget(Lresume);
    groupesLayout->addWidget(Lgroupes);
    groupesLayout->addWidget(LBgroupes, 1);

    m_etapes->addWidget(pageJours);
    m_etapes->addWidget(pageGroupes);

    SBprecedent = new QPushButton(QStringLiteral("< &Précédent"), this);
    SBsuivant = new QPushButton(QStringLiteral("&Suivant >"), this);
    SBbilan = new QPushButton(QStringLiteral("&Bilan"), this);
    SBfermer = new QPushButton(QStringLiteral("Fermer"), this);
    SBprecedent->setObjectName(QStringLiteral("SBprecedent"));
    SBsuivant->setObjectName(QStringLiteral("SBsuivant"));
    SBbilan->setObjectName(QStringLiteral("SBbilan"));
    SBfermer->setObjectName(QStringLiteral("SBfermer"));
    auto* boutons = new QHBoxLayout;
    boutons->addStretch(1);
    for (QPushButton* b : {SBprecedent, SBsuivant, SBbilan, SBfermer}) {
        b->setAutoDefault(false);
        boutons->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_etapes, 1);
    layout->addLayout(boutons);

    connect(SBprecedent, &QPushButton::clicked, this, &TFjours::SBprecedentClick);
    connect(SBsuivant, &QPushButton::clicked, this, &TFjours::SBsuivantClick);
    connect(SBbilan, &QPushButton::clicked, this, &TFjours::SBbilanClick);
    connect(SBfermer, &QPushButton::clicked, this, &TFjours::reject);
    connect(DBGjours, &QTreeWidget::itemChanged, this, &TFjours::DBGjoursChange);
    // A double click on a group is the same as selecting it and pressing Bilan.
    connect(LBgroupes, &QListWidget::itemDoubleClicked, this, [this] { SBbilanClick(); });
    montreEtape(EtapeJours);
}

TFjours::~TFjours() = default;

bool TFjours::FormShow() {
    ErrorHandler::run(m_run.prompter(), [&] { m_jours = SavedDays::readAll(m_run); });
    m_remplissage = true;
    DBGjours->clear();
    for (const SavedDay& d : m_jours) {
        auto* item = new QTreeWidgetItem(DBGjours);
        item->setText(Jour, d.name);
        item->setText(
            Date, d.modified.isValid() ? d.modified.toString(QStringLiteral("dd/MM/yyyy HH:mm")) : QString());
        item->setText(Remarque, d.remark());
        if (d.status == SavedDay::Status::Readable || d.status == SavedDay::Status::Empty) {
            item->setText(Lignes, QString::number(d.lines));
            item->setText(Energie,
                          NumFormat::Fixed(d.totals[DailyTotals::CALORIES], 1, 0) + QStringLiteral(" kcal"));
        }
        item->setTextAlignment(Lignes, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(Energie, Qt::AlignRight | Qt::AlignVCenter);
        if (d.tickable()) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Jour, Qt::Unchecked);
        } else {
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
            item->setForeground(Jour, palette().brush(QPalette::Disabled, QPalette::Text));
            item->setToolTip(Remarque, d.reason.isEmpty() ? d.remark() : d.reason);
        }
    }
    for (int c : {Jour, Date, Lignes, Energie}) DBGjours->resizeColumnToContents(c);
    m_remplissage = false;
    if (DBGjours->topLevelItemCount() > 0) DBGjours->setCurrentItem(DBGjours->topLevelItem(0));
    const int initial = static_cast<int>(m_groupes.indexOf(m_groupeInitial));
    LBgroupes->setCurrentRow(initial < 0 ? 0 : initial);
    montreEtape(EtapeJours);
    return true;
}

void TFjours::montreEtape(int etape) {
    m_etapes->setCurrentIndex(etape);
    const bool jours = etape == EtapeJours;
    SBprecedent->setVisible(!jours);
    SBsuivant->setVisible(jours);
    SBbilan->setVisible(!jours);
    SBsuivant->setDefault(jours);
    SBbilan->setDefault(!jours);
    (jours ? static_cast<QWidget*>(DBGjours) : static_cast<QWidget*>(LBgroupes))->setFocus();
    afficheCompte();
}

int TFjours::nbCoches() const {
    int n = 0;
    for (int r = 0; r < DBGjours->topLevelItemCount(); ++r)
        if (DBGjours->topLevelItem(r)->checkState(Jour) == Qt::Checked) ++n;
    return n;
}

QVector<SavedDay> TFjours::joursCoches() const {
    QVector<SavedDay> out;
    for (int r = 0; r < DBGjours->topLevelItemCount() && r < m_jours.size(); ++r)
        if (DBGjours->topLevelItem(r)->checkState(Jour) == Qt::Checked) out << m_jours[r];
    return out;
}

void TFjours::afficheCompte() {
    if (m_jours.isEmpty()) {
        Lcoches->setText(
            QStringLiteral("Aucun jour enregistré dans le répertoire des données : enregistrez "
                           "d'abord des journées avec Fichier > Enregistrer..."));
        return;
    }
    const int n = nbCoches();
    const QString coches =
        n <= 1 ? QStringLiteral("%1 jour coché").arg(n) : QStringLiteral("%1 jours cochés").arg(n);
    if (m_etapes->currentIndex() == EtapeGroupes) {
        QStringList noms;
        for (const SavedDay& d : joursCoches()) noms << d.name;
        Lresume->setText(QStringLiteral("Bilan de %1 jours : %2.").arg(n).arg(noms.join(QStringLiteral(", "))));
        return;
    }
    Lcoches->setText(coches + QStringLiteral(" (de 2 à 14). Espace coche ou décoche le jour, Ctrl+A les coche "
                                             "tous, Entrée passe au choix du groupe."));
}

bool TFjours::cocheJour(int row, bool coche) {
    if (row < 0 || row >= DBGjours->topLevelItemCount() || row >= m_jours.size()) return false;
    QTreeWidgetItem* item = DBGjours->topLevelItem(row);
    const SavedDay& d = m_jours[row];
    if (coche && !d.tickable()) {
        m_run.prompter().message(
            Prompter::Kind::Warning,
            QStringLiteral("Le jour « %1 » ne peut pas entrer dans un bilan (%2).%3")
                .arg(d.name, d.remark(), d.reason.isEmpty() ? QString() : QLatin1Char('\n') + d.reason));
        return false;
    }
    const bool deja = item->checkState(Jour) == Qt::Checked;
    if (coche && !deja && nbCoches() >= SavedDays::Maximum) {
        m_run.prompter().message(
            Prompter::Kind::Warning,
            QStringLiteral("Un bilan porte sur %1 jours au plus : décochez-en un avant d'en cocher "
                           "un autre.")
                .arg(SavedDays::Maximum));
        return false;
    }
    {
        const QSignalBlocker bloque(DBGjours);
        item->setCheckState(Jour, coche ? Qt::Checked : Qt::Unchecked);
    }
    afficheCompte();
    return true;
}

void TFjours::cocheTout() {
    // The most recent days first, the list being sorted by date.
    int n = nbCoches();
    for (int r = DBGjours->topLevelItemCount() - 1; r >= 0 && r < m_jours.size(); --r) {
        QTreeWidgetItem* item = DBGjours->topLevelItem(r);
        if (!m_jours[r].tickable() || item->checkState(Jour) == Qt::Checked) continue;
        if (n >= SavedDays::Maximum) break;
        const QSignalBlocker bloque(DBGjours);
        item->setCheckState(Jour, Qt::Checked);
        ++n;
    }
    afficheCompte();
}

void TFjours::DBGjoursChange(QTreeWidgetItem* item, int column) {
    if (m_remplissage || column != Jour) return;
    // A tick by the mouse: the same rules as Space; a refused one is undone.
    const bool coche = item->checkState(Jour) == Qt::Checked;
    {
        const QSignalBlocker bloque(DBGjours);
        item->setCheckState(Jour, coche ? Qt::Unchecked : Qt::Checked);
    }
    cocheJour(DBGjours->indexOfTopLevelItem(item), coche);
}

bool TFjours::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBGjours && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            const int row = DBGjours->indexOfTopLevelItem(DBGjours->currentItem());
            if (row >= 0) cocheJour(row, DBGjours->currentItem()->checkState(Jour) != Qt::Checked);
            return true;
        }
        if (key->matches(QKeySequence::SelectAll)) {
            cocheTout();
            return true;
        }
    }
    return ModalWindow::eventFilter(watched, event);
}

void TFjours::SBsuivantClick() {
    const int n = nbCoches();
    if (n < SavedDays::Minimum) {
        m_run.prompter().message(
            Prompter::Kind::Information,
            QStringLiteral("Cochez au moins %1 jours pour en faire le bilan (Espace coche le jour "
                           "choisi dans la liste).")
                .arg(SavedDays::Minimum));
        return;
    }
    montreEtape(EtapeGroupes);
}

void TFjours::SBprecedentClick() { montreEtape(EtapeJours); }

void TFjours::SBbilanClick() {
    const QVector<SavedDay> jours = joursCoches();
    if (m_etapes->currentIndex() != EtapeGroupes || !LBgroupes->currentItem() ||
        jours.size() < SavedDays::Minimum)
        return;
    const QString groupe = LBgroupes->currentItem()->text();
    ErrorHandler::run(m_run.prompter(), [&] {
        if (m_ouvre) m_ouvre(groupe, jours);
    });
    LBgroupes->setFocus();
}
