#include "ui/fieldbox.h"

#include <QStyle>

#include "core/schema/numformat.h"
#include "core/table/table.h"

FieldBox::FieldBox(QWidget* parent) : QLineEdit(parent) { setReadOnly(true); }

void FieldBox::bind(Table* table, const QString& field, const QString& format) {
    if (m_table) disconnect(m_table, nullptr, this, nullptr);
    m_table = table;
    m_field = field;
    m_format = format;
    if (m_table) {
        connect(m_table, &Table::currentChanged, this, &FieldBox::changed);
        connect(m_table, &Table::layoutReset, this, &FieldBox::changed);
        connect(m_table, &Table::rowChanged, this, [this](int row) {
            if (m_table && row == m_table->currentRow()) changed();
        });
    }
    refresh();
}

Table* FieldBox::table() const { return m_table; }
QString FieldBox::field() const { return m_field; }

void FieldBox::changed() {
    // A hidden box is brought up to date when it is shown again.
    if (isVisible()) refresh();
}

void FieldBox::refresh() {
    QString text;
    if (m_table && m_table->isOpen()) {
        const int row = m_table->currentRow();
        if (row >= 0) {
            const QVariant v = m_table->valueAt(row, m_field);
            text =
                v.typeId() == QMetaType::Double ? NumFormat::Formatted(v.toDouble(), m_format) : v.toString();
        }
    }
    if (text != this->text()) {
        setText(text);
        setCursorPosition(0);
        setToolTip(text);
    }
}

int FieldBox::widthFor(const QLineEdit* edit, const QString& text) {
    // The text, the line edit's own inner margin (two pixels a side), its text
    // margins and its frame.
    const QMargins tm = edit->textMargins();
    const int inner = edit->fontMetrics().horizontalAdvance(text) + 2 * 2 + tm.left() + tm.right() + 1;
    const int frame =
        edit->hasFrame() ? 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) : 0;
    return inner + frame;
}

bool FieldBox::showsWholeText() const { return width() >= widthFor(this, text()); }

void FieldBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (isReadOnly()) setCursorPosition(0);
}

void FieldBox::showEvent(QShowEvent* event) {
    refresh();
    QLineEdit::showEvent(event);
}
