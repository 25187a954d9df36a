#pragma once
// TFIndice: the body mass index calculator. The two spin edits (weight in kg,
// height in cm) are its only state; every change of either runs SEPoidsChange,
// which asks the core for the index (Indice::calcule), writes back the
// capped values, shows the index and puts its weight class in bold.
#include "ui/modalwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;
class SpinEdit;

class TFIndice : public ModalWindow {
    Q_OBJECT
public:
    explicit TFIndice(QWidget* parent = nullptr);
    ~TFIndice() override;

    // The change handler of both spin edits. Errors inside it are swallowed:
    // the dialog keeps what it showed.
    void SEPoidsChange();

    QLabel* LPoids = nullptr;
    SpinEdit* SEPoids = nullptr;
    QLabel* LTaille = nullptr;
    SpinEdit* SETaille = nullptr;
    QLabel* LIndice = nullptr;
    QLineEdit* EIndice = nullptr;
    QLabel* Lmaigre = nullptr;
    QLabel* LNormal = nullptr;
    QLabel* Lsurpoids = nullptr;
    QLabel* Lobese = nullptr;
    QPushButton* BitBtn1 = nullptr;

private:
    QLabel* label(const char* name, const QString& text, int left, int top);
    void metEnGras(QLabel* classe);
};
