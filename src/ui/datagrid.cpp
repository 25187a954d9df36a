#include "ui/datagrid.h"

#include <QHeaderView>
#include <algorithm>
#include <QKeyEvent>

#include "core/io/runcontext.h"
#include "core/table/table.h"
#include "ui/errorhandler.h"
#include "ui/tablemodel.h"

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
}

void DataGrid::setTableModel(TableModel* model) {
    if (m_model) disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    setModel(model);
    if (!model) return;
    connect(model, &TableModel::currentRowChanged, this, &DataGrid::followTable);
    // After a reset the view has dropped its current index; put it back on the
    // handle's cursor (connected after setModel, so it runs after the view's own
    // reset handling).
    connect(model, &QAbstractItemModel::modelReset, this, &DataGrid::followTableCursor);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_model) fitColumns(0, m_model->rowCount() - 1);
    });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) { fitColumns(from.row(), to.row()); });
    followTableCursor();
}

void DataGrid::setColumnsFitValues(bool on) {
    m_fitValues = on;
    if (m_model) fitColumns(0, m_model->rowCount() - 1);
}

int DataGrid::textWidth(const QString& text) const {
    // The text and the cell's margins on both sides.
    return fontMetrics().horizontalAdvance(text) + 8;
}

bool DataGrid::showsWholeText(int row, int column) const {
    return !m_model || textWidth(m_model->text(row, column)) <= columnWidth(column);
}

void DataGrid::fitColumns(int firstRow, int lastRow) {
    if (!m_fitValues || !m_model) return;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        int needed = c < m_baseWidths.size() ? m_baseWidths[c] : 0;
        for (int r = std::max(firstRow, 0); r <= lastRow && r < m_model->rowCount(); ++r)
            needed = std::max(needed, textWidth(m_model->text(r, c)));
        if (needed > columnWidth(c)) setColumnWidth(c, needed);
    }
}

TableModel* DataGrid::tableModel() const { return m_model; }

void DataGrid::sizeColumnsFromModel() {
    if (!m_model) return;
    const QFontMetrics fm(font());
    const QFontMetrics hfm(horizontalHeader()->font());
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const auto& col = m_model->column(c);
        const int title = hfm.horizontalAdvance(m_model->headerData(c, Qt::Horizontal).toString()) + 12;
        const int chars = col.widthChars > 0 ? fm.averageCharWidth() * col.widthChars + 8 : 0;
        setColumnWidth(c, std::max({title, chars, fm.horizontalAdvance(QStringLiteral("0000.000")) + 8}));
    }
    m_baseWidths.clear();
    for (int c = 0; c < m_model->columnCount(); ++c) m_baseWidths << columnWidth(c);
    fitColumns(0, m_model->rowCount() - 1);
}

void DataGrid::followTableCursor() {
    if (!m_model || !m_model->table()) return;
    Table* t = m_model->table();
    followTable(t->isOpen() ? t->currentRow() : -1);
}

void DataGrid::followTable(int row) {
    if (!m_model || m_paused > 0) return;
    if (!isVisible()) {
        // Brought up to date when shown.
        m_stale = true;
        return;
    }
    m_stale = false;
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
    } else {
        const int col = currentIndex().isValid() ? currentIndex().column() : 0;
        const QModelIndex idx = m_model->index(row, col);
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(idx);
    }
    m_syncing = false;
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_syncing || !m_model || !current.isValid()) return;
    Table* t = m_model->table();
    if (!t || !t->isOpen() || t->currentRow() == current.row()) return;
    const int row = current.row();
    ErrorHandler::run(t->run().prompter(), [&] { t->moveToRow(row); });
}

void DataGrid::showEvent(QShowEvent* event) {
    QTableView::showEvent(event);
    if (m_stale) followTableCursor();
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        emit activatedByKey();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
