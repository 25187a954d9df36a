#include "diagnosis/personne.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "core/interfaces/prompter.h"
#include "core/io/runcontext.h"
#include "core/needs/efsareference.h"
#include "core/needs/persontable.h"
#include "core/schema/schema.h"
#include "ui/errorhandler.h"

namespace {
constexpr int kContexte = 21;

QString virgule(double v, int decimals) {
    return QString::number(v, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}
}   // namespace

TFpersonne::TFpersonne(RunContext& run, const EfsaReference& efsa, QWidget* parent)
    : ModalWindow(parent, kContexte), m_run(run), m_efsa(efsa) {
    setObjectName(QStringLiteral("Fpersonne"));
    setWindowTitle(QStringLiteral("Besoins d'une personne"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    build();
    setPerson(Person());
}

TFpersonne::~TFpersonne() = default;

void TFpersonne::build() {
    EditNOM = new QLineEdit(this);
    EditNOM->setObjectName(QStringLiteral("EditNOM"));
    EditNOM->setMaxLength(personsSchema().field(QStringLiteral("NOM"))->length);
    EditNOM->setPlaceholderText(QStringLiteral("facultatif ; un nom la garde pour la prochaine fois"));

    RBfemme = new QRadioButton(QStringLiteral("Femme"), this);
    RBfemme->setObjectName(QStringLiteral("RBfemme"));
    RBhomme = new QRadioButton(QStringLiteral("Homme"), this);
    RBhomme->setObjectName(QStringLiteral("RBhomme"));
    m_sexes = new QButtonGroup(this);
    m_sexes->addButton(RBfemme);
    m_sexes->addButton(RBhomme);
    // One above the other: Down goes from Femme to Homme.
    auto* sexes = new QVBoxLayout;
    sexes->setSpacing(2);
    sexes->addWidget(RBfemme);
    sexes->addWidget(RBhomme);

    // Wide ranges, so that what is typed reaches the checks, which say what
    // is accepted.
    SEage = new QSpinBox(this);
    SEage->setObjectName(QStringLiteral("SEage"));
    SEage->setRange(0, 150);
    SEage->setSuffix(QStringLiteral(" ans"));
    SEpoids = new QDoubleSpinBox(this);
    SEpoids->setObjectName(QStringLiteral("SEpoids"));
    SEpoids->setRange(0, 500);
    SEpoids->setDecimals(1);
    SEpoids->setSuffix(QStringLiteral(" kg"));
    SEtaille = new QSpinBox(this);
    SEtaille->setObjectName(QStringLiteral("SEtaille"));
    SEtaille->setRange(0, 300);
    SEtaille->setSuffix(QStringLiteral(" cm"));
    CBactivite = new QComboBox(this);
    CBactivite->setObjectName(QStringLiteral("CBactivite"));
    for (const ActivityLevel& a : activityLevels())
        CBactivite->addItem(QStringLiteral("%1 (PAL %2)").arg(a.words, virgule(a.pal, 1)));
    CBetat = new QComboBox(this);
    CBetat->setObjectName(QStringLiteral("CBetat"));
    for (const auto& s : personStates()) CBetat->addItem(s.second);

    Lbesoins = new QLabel(this);
    Lbesoins->setObjectName(QStringLiteral("Lbesoins"));
    Lbesoins->setWordWrap(true);
    Lbesoins->setTextFormat(Qt::PlainText);
    Lbesoins->setMinimumHeight(fontMetrics().height() * 3);
    Lbesoins->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto* form = new QFormLayout;
    auto row = [&](const QString& text, QWidget* buddy, QLayout* field = nullptr) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        if (field)
            form->addRow(l, field);
        else
            form->addRow(l, buddy);
    };
    row(QStringLiteral("&Nom :"), EditNOM);
    row(QStringLiteral("&Sexe :"), RBfemme, sexes);
    row(QStringLiteral("Â&ge :"), SEage);
    row(QStringLiteral("&Poids :"), SEpoids);
    row(QStringLiteral("&Taille :"), SEtaille);
    row(QStringLiteral("Acti&vité :"), CBactivite);
    row(QStringLiteral("Ét&at :"), CBetat);
    auto* aide = new QLabel(QStringLiteral("Pour une femme enceinte, le poids d'avant la grossesse."), this);
    aide->setWordWrap(true);
    QFont petit = aide->font();
    petit.setItalic(true);
    aide->setFont(petit);
    form->addRow(QString(), aide);

    LBpersonnes = new QListWidget(this);
    LBpersonnes->setObjectName(QStringLiteral("LBpersonnes"));
    SBnouvelle = new QPushButton(QStringLiteral("No&uvelle"), this);
    SBnouvelle->setObjectName(QStringLiteral("SBnouvelle"));
    SBnouvelle->setAutoDefault(false);
    SBsupprimer = new QPushButton(QStringLiteral("Suppri&mer"), this);
    SBsupprimer->setObjectName(QStringLiteral("SBsupprimer"));
    SBsupprimer->setAutoDefault(false);
    BitBtnOK = new QPushButton(QStringLiteral("OK"), this);
    BitBtnOK->setObjectName(QStringLiteral("BitBtnOK"));
    BitBtnOK->setDefault(true);
    BitBtnAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    BitBtnAnnuler->setObjectName(QStringLiteral("BitBtnAnnuler"));
    BitBtnAnnuler->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(Lbesoins, 1);
    auto* right = new QVBoxLayout;
    auto* liste = new QLabel(QStringLiteral("Pe&rsonnes gardées :"), this);
    liste->setBuddy(LBpersonnes);
    right->addWidget(liste);
    right->addWidget(LBpersonnes, 1);
    auto* gestion = new QHBoxLayout;
    gestion->addWidget(SBnouvelle);
    gestion->addWidget(SBsupprimer);
    right->addLayout(gestion);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addSpacing(12);
    columns->addLayout(right, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BitBtnOK);
    bottom->addWidget(BitBtnAnnuler);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);

    // The person's fields in the order they are given, then the list.
    QWidget* order[] = {EditNOM, RBfemme,     RBhomme,    SEage,       SEpoids,  SEtaille,     CBactivite,
                        CBetat,  LBpersonnes, SBnouvelle, SBsupprimer, BitBtnOK, BitBtnAnnuler};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
    connect(BitBtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(SBnouvelle, &QPushButton::clicked, this, [this] { SBnouvelleClick(); });
    connect(SBsupprimer, &QPushButton::clicked, this, [this] { SBsupprimerClick(); });
    connect(LBpersonnes, &QListWidget::currentRowChanged, this, [this] { LBpersonnesChange(); });
    connect(m_sexes, &QButtonGroup::buttonToggled, this, [this] { ParametreChange(); });
    connect(SEage, &QSpinBox::valueChanged, this, [this] { ParametreChange(); });
    connect(SEpoids, &QDoubleSpinBox::valueChanged, this, [this] { ParametreChange(); });
    connect(SEtaille, &QSpinBox::valueChanged, this, [this] { ParametreChange(); });
    connect(CBactivite, &QComboBox::currentIndexChanged, this, [this] { ParametreChange(); });
    connect(CBetat, &QComboBox::currentIndexChanged, this, [this] { ParametreChange(); });
    resize(640, 400);
}

bool TFpersonne::FormShow() {
    relitPersonnes(QString());
    EditNOM->setFocus();
    return true;
}

Person TFpersonne::personne() const {
    Person p;
    p.name = EditNOM->text().simplified();
    p.sex = RBhomme->isChecked() ? Person::Sex::Male : Person::Sex::Female;
    p.age = SEage->value();
    p.weight = SEpoids->value();
    p.height = SEtaille->value();
    p.pal = activityLevels().value(CBactivite->currentIndex(), activityLevels().first()).pal;
    p.state =
        p.sex == Person::Sex::Male ? Person::State::None : personStates().value(CBetat->currentIndex()).first;
    return p;
}

void TFpersonne::setPerson(const Person& p) {
    m_remplit = true;
    EditNOM->setText(p.name);
    (p.sex == Person::Sex::Male ? RBhomme : RBfemme)->setChecked(true);
    SEage->setValue(p.age);
    SEpoids->setValue(p.weight);
    SEtaille->setValue(static_cast<int>(std::lround(p.height)));
    int activite = 0;
    for (int i = 0; i < activityLevels().size(); ++i)
        if (std::fabs(activityLevels()[i].pal - p.pal) < 1e-9) activite = i;
    CBactivite->setCurrentIndex(activite);
    for (int i = 0; i < personStates().size(); ++i)
        if (personStates()[i].first == p.state) CBetat->setCurrentIndex(i);
    m_remplit = false;
    ParametreChange();
}

void TFpersonne::ParametreChange() {
    if (m_remplit) return;
    // Pregnancy and breastfeeding are a woman's: for a man the state is
    // "aucun" and Tab passes it by.
    const bool femme = RBfemme->isChecked();
    if (!femme) CBetat->setCurrentIndex(0);
    CBetat->setEnabled(femme);

    const Person p = personne();
    QString texte = PersonRules::check(p);
    QPalette palette = Lbesoins->palette();
    palette.setColor(QPalette::WindowText,
                     texte.isEmpty() ? this->palette().color(QPalette::WindowText) : QColor(Qt::red));
    if (texte.isEmpty()) {
        try {
            const EnergyOfPerson e = PersonNeedsRules::energyOf(p, m_efsa.table());
            texte = QStringLiteral(
                        "Besoin en énergie : %1 kcal par jour, soit le métabolisme de base (%2 MJ) × "
                        "PAL %3")
                        .arg(QString::number(std::lround(e.kcal)), virgule(e.bmrMJ, 2), virgule(e.pal, 1));
            if (e.growth != 1.0) texte += QStringLiteral(" × %1 (croissance)").arg(virgule(e.growth, 2));
            if (e.incrementMJ > 0)
                texte += QStringLiteral(" + %1 MJ (%2)")
                             .arg(virgule(e.incrementMJ, 2),
                                  p.isPregnant() ? QStringLiteral("grossesse") : QStringLiteral("allaitement"));
            texte += QStringLiteral(".");
        } catch (const DataError& error) {
            texte = error.message();
            palette.setColor(QPalette::WindowText, Qt::red);
        }
    }
    Lbesoins->setPalette(palette);
    Lbesoins->setText(texte);
}

void TFpersonne::relitPersonnes(const QString& selection) {
    m_gardees.clear();
    ErrorHandler::run(m_run.prompter(), [&] { m_gardees = PersonTable::read(m_run); });
    const QSignalBlocker block(LBpersonnes);
    LBpersonnes->clear();
    m_choisie.clear();
    for (const Person& p : m_gardees) {
        LBpersonnes->addItem(p.name);
        if (PersonTable::sameName(p.name, selection)) {
            LBpersonnes->setCurrentRow(LBpersonnes->count() - 1);
            m_choisie = p.name;
        }
    }
    SBsupprimer->setEnabled(!m_gardees.isEmpty());
}

void TFpersonne::LBpersonnesChange() {
    const int row = LBpersonnes->currentRow();
    if (row < 0 || row >= m_gardees.size()) return;
    m_choisie = m_gardees[row].name;
    setPerson(m_gardees[row]);
}

void TFpersonne::SBnouvelleClick() {
    {
        const QSignalBlocker block(LBpersonnes);
        LBpersonnes->setCurrentRow(-1);
    }
    m_choisie.clear();
    setPerson(Person());
    EditNOM->setFocus();
}

void TFpersonne::SBsupprimerClick() {
    const int row = LBpersonnes->currentRow();
    if (row < 0 || row >= m_gardees.size()) return;
    const QString nom = m_gardees[row].name;
    if (!m_run.prompter().ask(
            Prompter::Kind::Confirmation,
            QStringLiteral("Oublier la personne « %1 » ? Ses paramètres ne seront plus gardés.").arg(nom),
            Prompter::Default::No))
        return;
    if (!ErrorHandler::run(m_run.prompter(), [&] { PersonTable::forget(m_run, nom); })) return;
    relitPersonnes(QString());
    SBnouvelleClick();
}

void TFpersonne::BitBtnOKClick() {
    const Person p = personne();
    PersonRules::Field field = PersonRules::Field::None;
    const QString faux = PersonRules::check(p, &field);
    if (!faux.isEmpty()) {
        m_run.prompter().message(Prompter::Kind::Warning, faux);
        QWidget* champs[] = {nullptr, SEage, SEtaille, SEpoids, CBactivite, CBetat};
        if (QWidget* w = champs[static_cast<int>(field)]) w->setFocus();
        return;
    }
    PersonBilan bilan;
    if (!ErrorHandler::run(m_run.prompter(), [&] { bilan = PersonNeedsRules::bilanOf(p, m_efsa.table()); }))
        return;
    if (!p.name.isEmpty()) {
        for (const Person& g : m_gardees)
            if (PersonTable::sameName(g.name, p.name) && !PersonTable::sameName(g.name, m_choisie) &&
                !m_run.prompter().ask(
                    Prompter::Kind::Confirmation,
                    QStringLiteral("Une autre personne gardée s'appelle déjà « %1 » : remplacer ses "
                                   "paramètres par ceux-ci ?")
                        .arg(g.name),
                    Prompter::Default::No))
                return;
        if (!ErrorHandler::run(m_run.prompter(), [&] { PersonTable::remember(m_run, p, m_choisie); })) return;
    }
    m_bilan = bilan;
    accept();
}
