#pragma once
// TFvoir: the detail view of the food selected in the composition window: the
// 32 values of the current record of its Food table handle (Talim), bound so
// that they always show that record, and the food's energy per 100 g.
// The composition window creates it and shows it modally.
#include <memory>

#include "ui/modalwindow.h"

class FieldBox;
class FieldGrid;
class IconButton;
class QLineEdit;
class TFcompose;

class TFvoir : public ModalWindow {
    Q_OBJECT
public:
    // Shows the selected food of the composition window's Food handle.
    explicit TFvoir(TFcompose& compose, QWidget* parent = nullptr);
    ~TFvoir() override;

    // EKCAL := the composition window's EnergieAliment, as a whole number
    // right-aligned in at least four characters (never cut). The boxes are
    // then widened where the food's values need it, and the window with them.
    bool FormShow() override;
    void SBsortirClick();
    static QString texteEnergie(double energie);

    QLineEdit* EKCAL = nullptr;
    IconButton* SBsortir = nullptr;
    FieldBox* box(const QString& field) const;   // e.g. "PROT_A"

private:
    void bindBoxes();
    void placeBoxes();
    TFcompose* m_compose = nullptr;
    std::unique_ptr<FieldGrid> m_grid;
};
