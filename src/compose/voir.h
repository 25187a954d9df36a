#pragma once
// TFvoir: the detail view of the food selected in the composition window: the
// 32 values of the current record of the Food table handle it is given,
// bound so that they always show that record, and the food's energy per
// 100 g, given before each showing. The composition window creates it and
// shows it modally.
#include <memory>

#include "ui/modalwindow.h"

class FieldBox;
class FieldGrid;
class IconButton;
class QLineEdit;
class Table;

class TFvoir : public ModalWindow {
    Q_OBJECT
public:
    // Shows the current food of talim.
    explicit TFvoir(Table& talim, QWidget* parent = nullptr);
    ~TFvoir() override;

    // The food energy per 100 g of the food shown (kcal), for EKCAL.
    void setEnergy(double energie) { m_energie = energie; }
    double energie() const { return m_energie; }
    // EKCAL := the energy given, as a whole number
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
    Table& m_talim;
    double m_energie = 0.0;
    std::unique_ptr<FieldGrid> m_grid;
};
