#pragma once
// TableNavigator: the row of buttons that moves a Food table handle one food at
// a time and, in the editing window, adds, deletes, confirms and cancels.
//
// The bar only says which button was pressed (clicked); the window carries
// out the action, so that a changed food is checked before the cursor moves.
// The buttons follow the handle: the moves are greyed at the ends of the
// table, confirm and cancel while nothing is being edited.
//
// Every button has its keys, active anywhere in the window and shown in its
// hint: Page Up / Ctrl+Up and Page Down / Ctrl+Down move by one food,
// Ctrl+Home and Ctrl+End to the ends, Insert adds, Ctrl+Delete deletes,
// Ctrl+Return confirms, and Escape cancels a pending change (only then: with
// nothing pending, Escape closes the window as in any dialog). The keys win
// over a box's own use of them (Ctrl+Home in a box moves the food, not the
// caret).
#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QVector>
#include <QWidget>

class QAction;
class QToolButton;
class Table;

class TableNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Post, Cancel };

    // The buttons shown, left to right, with their hints; they share the
    // bar's width equally.
    TableNavigator(const QVector<Button>& buttons, QWidget* parent = nullptr);

    void setTable(Table* table);
    QToolButton* button(Button b) const;
    // Presses a button as a click would (nothing when it is greyed).
    void click(Button b);

    static QString hint(Button b);
    // The keys of a button, the first one shown first.
    static QList<QKeySequence> keys(Button b);

signals:
    void clicked(TableNavigator::Button button);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followTable();

    QVector<Button> m_order;
    QVector<QToolButton*> m_buttons;   // by Button, nullptr when not shown
    QVector<QAction*> m_actions;       // their keys, by Button
    QPointer<Table> m_table;
};
