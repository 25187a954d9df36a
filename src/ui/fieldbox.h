#pragma once
// FieldBox: a read-only box showing one field of a Table handle's current
// record, kept up to date as the cursor moves or the record changes. Numbers
// are written in a display format ("" = general number format); on a handle
// that is closed or has no current record the box is empty.
#include <QLineEdit>
#include <QPointer>

class Table;

class FieldBox : public QLineEdit {
    Q_OBJECT
public:
    explicit FieldBox(QWidget* parent = nullptr);

    void bind(Table* table, const QString& field, const QString& format = QString());
    Table* table() const;
    QString field() const;

    // Rereads the value now (also done whenever the box is shown). The hint of
    // the box holds the whole value, whatever its width.
    void refresh();

    // The width a line edit needs to show the text whole in its font.
    static int widthFor(const QLineEdit* edit, const QString& text);
    // The box shows its whole value.
    bool showsWholeText() const;

protected:
    void showEvent(QShowEvent* event) override;
    // A read-only box keeps the start of its value in view when it takes the
    // focus, rather than selecting it all and scrolling to its end.
    void focusInEvent(QFocusEvent* event) override;

private:
    void changed();

    QPointer<Table> m_table;
    QString m_field;
    QString m_format;
};
