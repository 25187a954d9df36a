#pragma once
// TFouvrir: the open/save dialog of the day's choice. ModeEnregistrer (set by
// the main window's menu) tells it which way it works; the decisions of its
// OK button are FichierChoix::Enregistrer and FichierChoix::Ouvrir.
#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class TFouvrir : public QDialog {
    Q_OBJECT
public:
    explicit TFouvrir(QWidget* parent = nullptr);
    ~TFouvrir() override;

    // What a successful opening does after the dialog has closed: by default
    // File > Reprendre choix en cours of the main window.
    void setReprendre(std::function<void()> reprendre);

    // FormShow without showing: the file list re-read, the caption and the
    // name box's read-only state set from ModeEnregistrer.
    void Prepare();
    void BBokClick();
    void BBannulerClick();

    QLabel* Label1 = nullptr;
    QLineEdit* Eouvrir = nullptr;
    QListWidget* FLBouvrir = nullptr;
    QPushButton* BBok = nullptr;
    QPushButton* BBannuler = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FLBouvrirChange();
    std::function<void()> m_reprendre;
};
