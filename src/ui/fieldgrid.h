#pragma once
// FieldGrid: an arrangement of field boxes, each under its label, described
// by a table of cells and built once into a parent widget.
//
// A cell names its label, the field its box shows (empty: a plain read-only
// box that the window fills itself), the box's object name, its left edge,
// top and width, and the field's display format. A label stands over its box
// at the same left edge unless the cell gives it one of its own.
#include <QHash>
#include <QString>
#include <QVector>

class FieldBox;
class QLabel;
class QLineEdit;
class QWidget;
class Table;

struct FieldCell {
    QString label;
    QString field;   // "" for a box of the window's own
    QString edit;    // object name of the box, e.g. "EditPROT_A"
    int left = 0;
    int top = 0;   // top of the box
    int width = 0;
    QString format;       // display format of a number ("" = general format)
    int labelLeft = -1;   // -1: the box's left edge
    bool linked = true;   // the label is the box's buddy
};

class FieldGrid {
public:
    struct Metrics {
        int boxHeight = 21;
        int labelAbove = 15;        // distance from a label's top to its box's top
        int labelHeight = 0;        // 0: the label's own height
        bool labelAsWide = false;   // labels as wide as their box (else their text)
    };

    // Builds the labels and boxes of the cells into parent, in the cells' order.
    FieldGrid(QWidget* parent, const QVector<FieldCell>& cells, const Metrics& metrics);
    FieldGrid(QWidget* parent, const QVector<FieldCell>& cells);

    // Binds every box that shows a field to the handle, with its cell's format.
    void bind(Table* table);

    const QVector<FieldCell>& cells() const { return m_cells; }
    // The box of a field or of an object name ("PROT_A" or "EditPROT_A").
    QLineEdit* box(const QString& fieldOrName) const;
    FieldBox* fieldBox(const QString& field) const;
    QLabel* label(const QString& fieldOrName) const;
    // Every box, in the cells' order.
    const QVector<QLineEdit*>& boxes() const { return m_boxes; }

private:
    QVector<FieldCell> m_cells;
    QVector<QLineEdit*> m_boxes;
    QVector<QLabel*> m_labels;
    QHash<QString, int> m_index;   // field and object name -> cell
};
