#pragma once
// TFouvrir: the open/save dialog of the day's choice. ModeEnregistrer (set by
// the main window's menu) tells it which way it works; the decisions of its
// OK button are ChoiceFiles::enregistrer and ChoiceFiles::ouvrir.
#include <functional>

#include "ui/modalwindow.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class Session;

class TFouvrir : public ModalWindow {
    Q_OBJECT
public:
    explicit TFouvrir(Session& session, QWidget* parent = nullptr);
    ~TFouvrir() override;

    // What a successful opening does after the dialog has closed (the main
    // window gives its File > Reprendre choix en cours).
    void setResume(std::function<void()> reprendre);

    // FormShow without showing: the file list re-read, the caption and the
    // name box's read-only state set from ModeEnregistrer.
    void prepare();
    void BBokClick();
    void BBannulerClick();

    QLabel* Label1 = nullptr;
    QLineEdit* Eouvrir = nullptr;
    QListWidget* FLBouvrir = nullptr;
    QPushButton* BBok = nullptr;
    QPushButton* BBannuler = nullptr;

    // Lists the saved days and sets the dialog's way (open or save).
    bool FormShow() override;

private:
    Session& m_session;
    void FLBouvrirChange();
    std::function<void()> m_reprendre;
};
