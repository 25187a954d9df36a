#include "ui/fieldgrid.h"

#include <QLabel>
#include <QLineEdit>

#include "ui/fieldbox.h"

FieldGrid::FieldGrid(QWidget* parent, const QVector<FieldCell>& cells) : FieldGrid(parent, cells, Metrics()) {}

FieldGrid::FieldGrid(QWidget* parent, const QVector<FieldCell>& cells, const Metrics& metrics)
    : m_cells(cells) {
    for (int i = 0; i < m_cells.size(); ++i) {
        const FieldCell& c = m_cells[i];
        auto* label = new QLabel(c.label, parent);
        QLineEdit* edit;
        if (c.field.isEmpty()) {
            edit = new QLineEdit(parent);
            edit->setReadOnly(true);
        } else {
            edit = new FieldBox(parent);
        }
        edit->setObjectName(c.edit);
        edit->setGeometry(c.left, c.top, c.width, metrics.boxHeight);
        const QSize hint = label->sizeHint();
        label->setGeometry(c.labelLeft >= 0 ? c.labelLeft : c.left, c.top - metrics.labelAbove,
                           metrics.labelAsWide ? c.width : hint.width(),
                           metrics.labelHeight > 0 ? metrics.labelHeight : hint.height());
        if (c.linked) label->setBuddy(edit);
        m_boxes << edit;
        m_labels << label;
        if (!c.field.isEmpty()) m_index.insert(c.field, i);
        m_index.insert(c.edit, i);
    }
}

void FieldGrid::bind(Table* table) {
    for (int i = 0; i < m_cells.size(); ++i)
        if (auto* fb = qobject_cast<FieldBox*>(m_boxes[i]))
            fb->bind(table, m_cells[i].field, m_cells[i].format);
}

QLineEdit* FieldGrid::box(const QString& fieldOrName) const {
    const int i = m_index.value(fieldOrName, -1);
    return i < 0 ? nullptr : m_boxes[i];
}

FieldBox* FieldGrid::fieldBox(const QString& field) const { return qobject_cast<FieldBox*>(box(field)); }

QLabel* FieldGrid::label(const QString& fieldOrName) const {
    const int i = m_index.value(fieldOrName, -1);
    return i < 0 ? nullptr : m_labels[i];
}
