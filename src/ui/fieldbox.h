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

    // Rereads the value now (also done whenever the box is shown).
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void changed();

    QPointer<Table> m_table;
    QString m_field;
    QString m_format;
};
