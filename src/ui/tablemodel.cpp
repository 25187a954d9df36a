#include "ui/tablemodel.h"

#include "core/schema/numformat.h"
#include "core/table/table.h"

TableModel::TableModel(Table* table, QVector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_columns(std::move(columns)) {
    m_rows = liveRowCount();
    if (m_table) {
        connect(m_table, &Table::layoutReset, this, &TableModel::resetFromTable);
        connect(m_table, &Table::rowChanged, this, &TableModel::onRowChanged);
        connect(m_table, &Table::currentChanged, this, &TableModel::currentRowChanged);
        connect(m_table, &QObject::destroyed, this, &TableModel::resetFromTable);
    }
}

Table* TableModel::table() const { return m_table; }
const QVector<TableModel::Column>& TableModel::columns() const { return m_columns; }
const TableModel::Column& TableModel::column(int c) const { return m_columns.at(c); }

int TableModel::columnOf(const QString& field) const {
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].field.compare(field, Qt::CaseInsensitive) == 0) return c;
    return -1;
}

void TableModel::setLocale(const QLocale& locale) {
    m_locale = locale;
    if (m_rows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, m_columns.size() - 1));
}

bool TableModel::isNumeric(int col) const {
    if (!m_table) return false;
    // Calculated fields are numbers and are not in the schema.
    const DbfField* f = m_table->schema().field(m_columns[col].field);
    return !f || f->type != 'C';
}

int TableModel::liveRowCount() const {
    if (!m_table || !m_table->isOpen()) return 0;
    return m_table->rowCount();
}

void TableModel::resetFromTable() {
    beginResetModel();
    m_rows = liveRowCount();
    endResetModel();
}

void TableModel::onRowChanged(int row) {
    if (row < 0) return;
    if (row >= m_rows || m_rows != liveRowCount()) {
        // A row the views do not know yet: announce the new shape first.
        resetFromTable();
        return;
    }
    if (!m_columns.isEmpty()) emit dataChanged(index(row, 0), index(row, m_columns.size() - 1));
}

QString TableModel::text(int row, int col) const {
    if (!m_table || row < 0 || col < 0 || row >= m_rows || col >= m_columns.size()) return {};
    if (!m_table->isOpen() || row >= m_table->rowCount()) return {};
    const Column& c = m_columns[col];
    const QVariant v = m_table->valueAt(row, c.field);
    if (v.typeId() == QMetaType::Double) return NumFormat::Formatted(v.toDouble(), c.format, m_locale);
    return v.toString();
}

int TableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.model() != this) return {};
    const int row = index.row(), col = index.column();
    if (row < 0 || col < 0 || row >= m_rows || col >= m_columns.size()) return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(row, col);
    case Qt::ToolTipRole:
        // The whole text, for a cell that a narrow column cuts.
        return text(row, col);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::Alignment((isNumeric(col) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns.size()) return {};
        const Column& c = m_columns[section];
        return c.title.isEmpty() ? c.field : c.title;
    }
    if (section < 0 || section >= m_rows) return {};
    return section + 1;
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
