#include "foodtable/ciqual.h"

#include "core/io/runcontext.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableWidget>

#include "core/ciqual/ciqualcatalogue.h"
#include "core/ciqual/ciqualimport.h"
#include "core/ciqual/ciqualnames.h"
#include "core/schema/numformat.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "ui/errorhandler.h"
#include "ui/namesearch.h"

namespace {
constexpr int kWidth = 960, kHeight = 560, kHelpContext = 39;
constexpr int kListWidth = 370, kMargin = 8, kButtonsHeight = 40;
constexpr int kValueRows = 16;   // the 31 values in two columns
const QString kMark = QStringLiteral(" *");

QString valueText(double value, const QString& field) {
    const FieldPresentation* p = presentationOf(field);
    return NumFormat::Formatted(value, p ? p->foodFormat : QString());
}
}   // namespace

TFciqual::TFciqual(RunContext& run, const QString& ciqualFile, QWidget* parent)
    : ModalWindow(parent, kHelpContext),
      m_run(run),
      m_ciqualFile(ciqualFile),
      m_taliments(std::make_unique<Table>(run, foodSchema())) {
    setObjectName(QStringLiteral("Fciqual"));
    setWindowTitle(QStringLiteral("Aliments CIQUAL 2020"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);
    m_taliments->setIndexName(QString());

    nameSearch = new NameSearch(QStringLiteral("&Rechercher dans la table CIQUAL"),
                                NameSearch::WhenEmpty::Everything, this);
    nameSearch->setObjectName(QStringLiteral("nameSearch"));
    nameSearch->setMultipleSelection(true);
    nameSearch->setGeometry(kMargin, kMargin, kListWidth, kHeight - 2 * kMargin - kButtonsHeight);
    connect(nameSearch, &NameSearch::currentChanged, this, [this](int entry) { afficheAliment(entry); });
    connect(nameSearch, &NameSearch::picked, this, [this] { BajouterClick(); });

    const int x = kMargin * 2 + kListWidth, w = kWidth - x - kMargin;
    auto label = [&](const char* name, int y, int h) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(x, y, w, h);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    Lnom = label("Lnom", kMargin + 18, 40);
    QFont bold = Lnom->font();
    bold.setBold(true);
    Lnom->setFont(bold);
    Lorigine = label("Lorigine", kMargin + 60, 36);
    Ltable = label("Ltable", kMargin + 98, 36);

    Lvaleurs = label("Lvaleurs", kMargin + 138, 18);
    Gvaleurs = new QTableWidget(kValueRows, 4, this);
    Gvaleurs->setObjectName(QStringLiteral("Gvaleurs"));
    Gvaleurs->setGeometry(x, kMargin + 158, w, 19 * kValueRows + 4);
    Gvaleurs->horizontalHeader()->hide();
    Gvaleurs->verticalHeader()->hide();
    Gvaleurs->verticalHeader()->setDefaultSectionSize(19);
    Gvaleurs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Gvaleurs->setSelectionMode(QAbstractItemView::NoSelection);
    Gvaleurs->setFocusPolicy(Qt::NoFocus);
    Gvaleurs->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Gvaleurs->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    Gvaleurs->horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    for (int i = 0; i < nutrients().size(); ++i) {
        const Nutrient& n = nutrients().at(i);
        const int row = i % kValueRows, col = 2 * (i / kValueRows);
        const QString unit = n.unit.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(n.unit);
        Gvaleurs->setItem(row, col, new QTableWidgetItem(n.name + unit));
        auto* v = new QTableWidgetItem();
        v->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Gvaleurs->setItem(row, col + 1, v);
    }
    Lnonmesure = label("Lnonmesure", kMargin + 158 + 19 * kValueRows + 10, 36);
    Lnonmesure->setText(
        QStringLiteral("* valeur que CIQUAL n'a pas mesurée : la table l'enregistre à 0 et "
                       "le bilan la signale."));

    Bajouter = new QPushButton(QStringLiteral("&Ajouter à la table"), this);
    Bajouter->setObjectName(QStringLiteral("Bajouter"));
    Bajouter->setToolTip(QStringLiteral("Ajouter les aliments sélectionnés à la table des aliments"));
    Bfermer = new QPushButton(QStringLiteral("&Fermer"), this);
    Bfermer->setObjectName(QStringLiteral("Bfermer"));
    const int by = kHeight - kMargin - 28;
    Bfermer->setGeometry(kWidth - kMargin - 100, by, 100, 28);
    Bajouter->setGeometry(kWidth - 2 * kMargin - 100 - 170, by, 170, 28);
    // Return picks in the search itself; the buttons answer their own keys only.
    for (QPushButton* b : {Bajouter, Bfermer}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(Bajouter, &QPushButton::clicked, this, [this] { BajouterClick(); });
    connect(Bfermer, &QPushButton::clicked, this, [this] { reject(); });
    setTabOrder(nameSearch->box(), nameSearch->list());
    setTabOrder(nameSearch->list(), Bajouter);
    setTabOrder(Bajouter, Bfermer);
    afficheAliment(-1);
}

TFciqual::~TFciqual() = default;

bool TFciqual::FormShow() {
    const bool ok = ErrorHandler::run(m_run.prompter(), [&] {
        m_catalogue = std::make_unique<CiqualCatalogue>(m_run, m_ciqualFile);
        m_taliments->open();
        m_import = std::make_unique<CiqualImport>(*m_taliments, *m_catalogue, m_run.prompter());
        nameSearch->box()->clear();
        nameSearch->setNames(m_catalogue->names());
    });
    if (!ok) {
        FormClose();
        return false;
    }
    nameSearch->box()->setFocus(Qt::OtherFocusReason);
    return true;
}

void TFciqual::FormClose() {
    m_import.reset();
    m_taliments->close();
    nameSearch->setNames({});
    m_catalogue.reset();
}

void TFciqual::afficheAliment(int entry) {
    const bool shown = entry >= 0 && m_catalogue && entry < m_catalogue->size();
    Bajouter->setEnabled(shown);
    Gvaleurs->setEnabled(shown);
    if (!shown) {
        Lnom->setText(
            QStringLiteral("Tapez quelques mots du nom d'un aliment, puis choisissez-le dans la liste."));
        Lorigine->clear();
        Ltable->clear();
        Lvaleurs->clear();
        for (int i = 0; i < nutrients().size(); ++i)
            Gvaleurs->item(i % kValueRows, 2 * (i / kValueRows) + 1)->setText(QString());
        return;
    }
    const CiqualEntry& e = m_catalogue->entry(entry);
    Lnom->setText(e.name);
    Lorigine->setText(QStringLiteral("%1, code %2\n%3 › %4")
                          .arg(CiqualCatalogue::sourceName(), e.code, e.groupName, e.subgroupName));
    const CiqualImport::Food there = m_import ? m_import->inTable(entry) : CiqualImport::Food();
    if (there.numero > 0)
        Ltable->setText(
            QStringLiteral("Déjà dans la table des aliments : n° %1 « %2 »").arg(there.numero).arg(there.nom));
    else
        Ltable->setText(QStringLiteral("Dans la table : « %1 », catégorie %2")
                            .arg(CiqualNames::shortName(e.name), m_catalogue->category(entry)));
    auto value = [&](const char* field) { return m_catalogue->value(entry, QLatin1String(field)); };
    Lvaleurs->setText(
        QStringLiteral("Pour 100 g : %1 kcal")
            .arg(NumFormat::Formatted(foodEnergy(value("PROT_A"), value("PROT_V"), value("LIPI_A"),
                                                 value("LIPI_V"), value("GLUC_S"), value("GLUC_A")),
                                      QStringLiteral("##0"))));
    const QStringList unmeasured = m_catalogue->unmeasured(entry);
    for (int i = 0; i < nutrients().size(); ++i) {
        const QString field = QString::fromLatin1(nutrients().at(i).field);
        const bool missing = unmeasured.contains(field);
        QTableWidgetItem* v = Gvaleurs->item(i % kValueRows, 2 * (i / kValueRows) + 1);
        v->setText(valueText(m_catalogue->value(entry, field), field) + (missing ? kMark : QString()));
        v->setForeground(missing ? palette().color(QPalette::Disabled, QPalette::Text)
                                 : palette().color(QPalette::Text));
    }
}

void TFciqual::BajouterClick() {
    if (!m_import) return;
    const QVector<int> entries = nameSearch->selected();
    if (entries.isEmpty()) return;
    ErrorHandler::run(m_run.prompter(), [&] { m_import->add(entries); });
    afficheAliment(nameSearch->current());
    nameSearch->box()->setFocus(Qt::OtherFocusReason);
}
