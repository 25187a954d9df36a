#pragma once
// TFvoir: the detail view of the food selected in the composition window: the
// 32 values of the current record of its Food table handle (Talim), bound so
// that they always show that record, and the food's energy per 100 g.
// Created once at start-up after the composition window, shown modally.
#include <QDialog>
#include <QHash>

class FieldBox;
class IconButton;
class QLineEdit;
class TFcompose;

class TFvoir : public QDialog {
    Q_OBJECT
public:
    explicit TFvoir(QWidget* parent = nullptr);
    ~TFvoir() override;

    // Binds the boxes to that window's food handle (done at creation with the
    // composition window of appState()).
    void bindTo(TFcompose* compose);

    // EKCAL := the composition window's EnergieAliment, as a whole number
    // right-aligned in four characters (a longer number is cut to four).
    void FormShow();
    void SBsortirClick();
    static QString TexteEnergie(double energie);

    QLineEdit* EKCAL = nullptr;
    IconButton* SBsortir = nullptr;
    FieldBox* box(const QString& field) const;   // e.g. "PROT_A"

protected:
    void showEvent(QShowEvent* event) override;

private:
    TFcompose* m_compose = nullptr;
    QHash<QString, FieldBox*> m_boxes;
};
