#pragma once
// TFCreadlg: the name dialog of composite mode, "Aliments composés". The user
// types the name of a new composite food or picks an existing one from the
// list; the name of an ordinary food is refused. Created by the composition
// window when composite mode starts, run, asked its result (nom()) and
// destroyed.
#include "ui/modalwindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Prompter;
class Table;

class TFCreadlg : public ModalWindow {
    Q_OBJECT
public:
    TFCreadlg(Table& talim, Table& talimCompo, QWidget* parent = nullptr);

    // The name accepted by OK (blanks around it dropped); empty when the
    // dialog was not accepted.
    QString nom() const { return result() == QDialog::Accepted ? m_nom : QString(); }

    // Empties the name box, fills its list, gives it the focus (run when shown).
    bool FormShow() override;
    void Constitueliste();
    void OKButtonClick();
    void AnnulerButtonClick();
    // A key pressed in the name box: Enter runs OKButtonClick, Escape
    // AnnulerButtonClick; true when the key was used.
    bool CBDlgKeyDown(int key);

    // The name box as the user sees it: the drop-down list, or the plain edit
    // box when there is no composite yet.
    QString texte() const;
    void setText(const QString& text);
    bool listeVisible() const;
    QStringList liste() const;
    QLabel* label() const { return m_label; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* nameEdit() const;
    Prompter& prompter() const;

    Table& m_talim;
    Table& m_talimCompo;
    QLabel* m_label;
    QComboBox* CBDlg;
    QLineEdit* m_plainEdit;
    QPushButton* OKButton;
    QPushButton* AnnulerButton;
    QString m_nom;
};
