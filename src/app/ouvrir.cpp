#include "app/ouvrir.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/compose/choicefiles.h"
#include "core/io/fileops.h"
#include "core/session/session.h"
#include "ui/errorhandler.h"
#include "ui/help.h"

namespace {
const QString kMasque = QStringLiteral("*.dat");
}

TFouvrir::TFouvrir(Session& session, QWidget* parent) : ModalWindow(parent, 9), m_session(session) {
    setObjectName(QStringLiteral("Fouvrir"));
    setWindowTitle(QStringLiteral("Ouvrir"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(271, 185);

    Label1 = new QLabel(QStringLiteral("&Nom de fichier"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 6, 150, 16);

    Eouvrir = new QLineEdit(kMasque, this);
    Eouvrir->setObjectName(QStringLiteral("Eouvrir"));
    Eouvrir->setGeometry(8, 24, 153, 22);
    Label1->setBuddy(Eouvrir);

    FLBouvrir = new QListWidget(this);
    FLBouvrir->setObjectName(QStringLiteral("FLBouvrir"));
    FLBouvrir->setGeometry(8, 52, 153, 125);
    FLBouvrir->setSelectionMode(QAbstractItemView::SingleSelection);

    BBok = new QPushButton(QStringLiteral("OK"), this);
    BBok->setObjectName(QStringLiteral("BBok"));
    BBok->setGeometry(176, 24, 87, 27);
    BBok->setDefault(true);
    BBok->setAutoDefault(true);

    BBannuler = new QPushButton(QStringLiteral("Annuler"), this);
    BBannuler->setObjectName(QStringLiteral("BBannuler"));
    BBannuler->setGeometry(176, 60, 87, 27);
    BBannuler->setAutoDefault(false);

    setTabOrder(Eouvrir, FLBouvrir);
    setTabOrder(FLBouvrir, BBok);
    setTabOrder(BBok, BBannuler);

    connect(BBok, &QPushButton::clicked, this, &TFouvrir::BBokClick);
    connect(BBannuler, &QPushButton::clicked, this, &TFouvrir::BBannulerClick);
    connect(FLBouvrir, &QListWidget::itemSelectionChanged, this, &TFouvrir::FLBouvrirChange);
    // A double click on a file is the same as selecting it and pressing OK.
    connect(FLBouvrir, &QListWidget::itemDoubleClicked, this, [this] { BBokClick(); });
}

TFouvrir::~TFouvrir() = default;

void TFouvrir::setResume(std::function<void()> reprendre) { m_reprendre = std::move(reprendre); }

void TFouvrir::prepare() {
    ErrorHandler::run(m_session.prompter(), [&] {
        const bool enregistrer = m_session.ModeEnregistrer;
        FLBouvrir->clear();
        FLBouvrir->addItems(FileOps::listDatFiles(m_session.run()));
        FLBouvrir->clearSelection();
        FLBouvrir->setCurrentRow(-1);
        Eouvrir->setText(kMasque);
        setWindowTitle(enregistrer ? QStringLiteral("Enregistrer") : QStringLiteral("Ouvrir"));
        Eouvrir->setReadOnly(!enregistrer);
    });
}

bool TFouvrir::FormShow() {
    prepare();
    if (m_session.ModeEnregistrer) {
        Eouvrir->setFocus();
        Eouvrir->selectAll();
    } else {
        FLBouvrir->setFocus();
    }
    return true;
}

void TFouvrir::FLBouvrirChange() {
    const QList<QListWidgetItem*> selected = FLBouvrir->selectedItems();
    if (selected.isEmpty()) {
        Eouvrir->setText(kMasque);
        return;
    }
    Eouvrir->setText(selected.first()->text());
    Eouvrir->selectAll();
}

void TFouvrir::BBokClick() {
    ErrorHandler::run(m_session.prompter(), [&] {
        const QString text = Eouvrir->text();
        if (m_session.ModeEnregistrer) {
            if (ChoiceFiles::enregistrer(m_session.run(), text) == ChoiceFiles::Suite::Ferme) accept();
            return;
        }
        if (ChoiceFiles::ouvrir(m_session.run(), text) != ChoiceFiles::Suite::Ferme) return;
        accept();
        if (m_reprendre) m_reprendre();
    });
}

void TFouvrir::BBannulerClick() { reject(); }
