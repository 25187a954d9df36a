#pragma once
// TableModel: a read-only grid model over one Table handle, shared by every
// data-aware grid of the program.
//
// The model shows the handle's visible records in its current order (rows) and
// the columns it is given (a field, a title, a display format). It follows the
// handle's notifications: layoutReset (rows added or removed, order, filter,
// open or close) resets the model, rowChanged refreshes one row, and
// currentChanged is passed on as currentRowChanged so that a view can keep its
// current row on the handle's cursor (see DataGrid). Numbers are written with
// their column's display format through NumFormat::Formatted, in the system's
// decimal separator.
#include <QAbstractTableModel>
#include <QLocale>
#include <QPointer>
#include <QString>
#include <QVector>

class Table;

class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString field;        // field name of the handle
        QString title;        // column title ("" shows the bare field name)
        QString format;       // display format of a number ("" = general format)
        int widthChars = 0;   // preferred width in characters (0: the view decides)
    };

    TableModel(Table* table, QVector<Column> columns, QObject* parent = nullptr);

    Table* table() const;
    const QVector<Column>& columns() const;
    const Column& column(int c) const;
    int columnOf(const QString& field) const;   // -1 when not shown
    // The locale whose decimal separator formats the numbers (system default).
    void setLocale(const QLocale& locale);

    // The text shown in one cell ("" outside the model).
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The handle's cursor moved to another row (-1: no current row).
    void currentRowChanged(int row);

private:
    void resetFromTable();
    void onRowChanged(int row);
    int liveRowCount() const;
    bool isNumeric(int col) const;

    QPointer<Table> m_table;
    QVector<Column> m_columns;
    QLocale m_locale;
    // Row count as last announced to the views; a view only ever sees a row
    // count that the model has told it about through a reset.
    int m_rows = 0;
};
