#include "compose/creadlg.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/compose/compositefood.h"
#include "core/table/table.h"
#include "ui/errorhandler.h"
#include "core/io/runcontext.h"

namespace {
const QString kLongPrompt = QStringLiteral(
    "Entrez le nom du nouvel aliment à créer ou sélectionnez dans la liste un aliment à modifier.");
const QString kShortPrompt = QStringLiteral("Entrez le nom du nouvel aliment");
constexpr int kWidth = 320, kHeight = 140;
}   // namespace

TFCreadlg::TFCreadlg(Table& talim, Table& talimCompo, QWidget* parent)
    : ModalWindow(parent, -1), m_talim(talim), m_talimCompo(talimCompo) {
    setWindowTitle(QStringLiteral("Aliments composés"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kWidth, kHeight);

    m_label = new QLabel(kLongPrompt, this);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setGeometry(10, 8, kWidth - 20, 44);

    CBDlg = new QComboBox(this);
    CBDlg->setObjectName(QStringLiteral("CBDlg"));
    CBDlg->setEditable(true);
    CBDlg->setInsertPolicy(QComboBox::NoInsert);
    CBDlg->setMaxVisibleItems(12);
    CBDlg->setGeometry(20, 58, kWidth - 40, 24);
    // The boxes take a name of any length: OK refuses one too long for the
    // Food table with the same message as renaming, rather than cut it.
    CBDlg->lineEdit()->installEventFilter(this);
    CBDlg->installEventFilter(this);

    m_plainEdit = new QLineEdit(this);
    m_plainEdit->setObjectName(QStringLiteral("CBDlgEdit"));
    m_plainEdit->setGeometry(20, 58, kWidth - 40, 24);
    m_plainEdit->installEventFilter(this);
    m_plainEdit->hide();

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(kWidth / 2 - 95, 100, 85, 27);
    AnnulerButton = new QPushButton(QStringLiteral("Annuler"), this);
    AnnulerButton->setGeometry(kWidth / 2 + 10, 100, 85, 27);
    OKButton->setAutoDefault(false);
    AnnulerButton->setAutoDefault(false);
    connect(OKButton, &QPushButton::clicked, this,
            [this] { ErrorHandler::run(prompter(), [this] { OKButtonClick(); }); });
    connect(AnnulerButton, &QPushButton::clicked, this, [this] { AnnulerButtonClick(); });
}

Prompter& TFCreadlg::prompter() const { return m_talim.run().prompter(); }

QLineEdit* TFCreadlg::nameEdit() const {
    return m_plainEdit->isVisibleTo(this) ? m_plainEdit : CBDlg->lineEdit();
}

QString TFCreadlg::texte() const { return nameEdit()->text(); }

void TFCreadlg::setText(const QString& text) {
    if (m_plainEdit->isVisibleTo(this))
        m_plainEdit->setText(text);
    else
        CBDlg->setEditText(text);
}

bool TFCreadlg::listeVisible() const { return !m_plainEdit->isVisibleTo(this); }

QStringList TFCreadlg::liste() const {
    QStringList items;
    for (int i = 0; i < CBDlg->count(); ++i) items << CBDlg->itemText(i);
    return items;
}

bool TFCreadlg::FormShow() {
    // A list that cannot be read is reported; the name can still be typed.
    ErrorHandler::run(prompter(), [this] {
        setText(QString());
        Constitueliste();
    });
    return true;
}

void TFCreadlg::Constitueliste() {
    const QStringList names = CompositeFood::nomsComposes(m_talimCompo);
    if (names.isEmpty()) {
        // No composite yet: a plain box and the short prompt.
        CBDlg->hide();
        m_plainEdit->show();
        m_label->setText(kShortPrompt);
        m_label->setWordWrap(false);
        m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_label->adjustSize();
        m_label->move(45, 24);
    } else {
        m_plainEdit->hide();
        CBDlg->show();
        const QString typed = CBDlg->currentText();
        CBDlg->clear();
        CBDlg->addItems(names);
        CBDlg->setCurrentIndex(-1);
        CBDlg->setEditText(typed);
    }
    nameEdit()->setFocus();
}

void TFCreadlg::OKButtonClick() {
    // Blanks around a name cannot be told apart in a list; they are dropped.
    m_nom = texte().trimmed();
    if (m_nom.isEmpty()) return;
    const QString error = CompositeFood::erreurDeNom(m_nom);
    if (!error.isEmpty()) {
        prompter().message(Prompter::Kind::Warning, error);
        nameEdit()->setFocus();
        return;
    }
    if (CompositeFood::NomPris(m_talim, m_talimCompo, m_nom)) {
        prompter().message(Prompter::Kind::Plain,
                           QStringLiteral("L'aliment ") + m_nom + QStringLiteral(" existe déjà !"));
        setText(QString());
        m_nom.clear();
        nameEdit()->setFocus();
        return;
    }
    accept();
}

void TFCreadlg::AnnulerButtonClick() { reject(); }

bool TFCreadlg::CBDlgKeyDown(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        ErrorHandler::run(prompter(), [this] { OKButtonClick(); });
        return true;
    }
    if (key == Qt::Key_Escape) {
        AnnulerButtonClick();
        return true;
    }
    return false;
}

bool TFCreadlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == m_plainEdit || watched == CBDlg || watched == CBDlg->lineEdit())) {
        const auto* ke = static_cast<QKeyEvent*>(event);
        // With the drop-down list open the keys belong to the list.
        if (!(watched != m_plainEdit && CBDlg->view()->isVisible()) && CBDlgKeyDown(ke->key())) return true;
    }
    return ModalWindow::eventFilter(watched, event);
}

void TFCreadlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        AnnulerButtonClick();
        return;
    }
    ModalWindow::keyPressEvent(event);
}
