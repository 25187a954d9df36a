#pragma once
// DataGrid: a read-only grid over a TableModel whose current row is the
// handle's cursor, both ways: when the handle's cursor moves (a search, a
// filter, a delete, a summing loop) the grid follows it; when the user moves in
// the grid (mouse, arrows, page keys) the handle's cursor moves to that row,
// which posts a pending record as any cursor move does.
#include <QTableView>

class TableModel;

class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    // The grid does not own the model.
    void setTableModel(TableModel* model);
    TableModel* tableModel() const;

    // Sizes each column that asks for a width in characters, and the others to
    // their title.
    void sizeColumnsFromModel();
    // From now on a column grows to show every value it holds whole (never
    // narrower than sizeColumnsFromModel made it), as rows come and change.
    void setColumnsFitValues(bool on);
    // The cell's text fits its column.
    bool showsWholeText(int row, int column) const;

    // Puts the grid's current row on the handle's cursor now.
    void followTableCursor();

    // While paused the grid does not follow each cursor move (a summing loop
    // walks every line); when the last pause ends it goes to the cursor.
    class Pause {
    public:
        explicit Pause(DataGrid* grid) : m_grid(grid) { ++m_grid->m_paused; }
        ~Pause() {
            if (--m_grid->m_paused == 0) m_grid->followTableCursor();
        }
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        DataGrid* m_grid;
    };

signals:
    // Enter or Return pressed on the grid (a command key for the window).
    void activatedByKey();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void showEvent(QShowEvent* event) override;

private:
    void followTable(int row);
    void fitColumns(int firstRow, int lastRow);
    int textWidth(const QString& text) const;

    TableModel* m_model = nullptr;
    bool m_syncing = false;
    bool m_stale = false;   // the cursor moved while the grid was hidden
    int m_paused = 0;
    bool m_fitValues = false;
    QVector<int> m_baseWidths;   // widths given by sizeColumnsFromModel
};
