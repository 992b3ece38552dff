#pragma once
// A report-style list with per-cell colours, caller data per row and
// in-place cell editing (an edit box, or a drop-down the caller opens).
// Each row's caller data lives on the row itself in the model, so it stays
// with its row whatever moves the rows (sorting, inserting, removing, even
// through QTableWidget's own members); the members that could replace the
// cell holding it are not offered to callers.
#include <climits>
#include <functional>
#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>
#include <vector>

#include "ui/ComboBox4ListCtrl.h"

namespace orvane {

// Messages the list sends its parent.
constexpr uint32_t UM_LIST_SORTED = 0xA711;       // wParam column, lParam 1 ascending / 0 descending
constexpr uint32_t UM_LIST_CELL_CHANGED = 0xA712; // wParam row, lParam column
// Style bit a begin-edit callback may add: digits only.
constexpr unsigned ES_NUMBER = 0x2000;
constexpr int kCellEditLimit = 100;
constexpr int kMoveTop = -1;
constexpr int kMoveBottom = INT_MAX;

class CReportCtrl : public QTableWidget {
    Q_OBJECT
  public:
    // 0: the callback opened its own editor (or refused); no edit box.
    using BeginEditFn =
        std::function<int(CReportCtrl* list, int row, int column, unsigned* style, void* owner)>;
    // May rewrite *text; 0 stops the write.
    using ValidateFn = std::function<int(CReportCtrl* list, int row, int column, QString* text, void* owner)>;
    // Called first on every end of an edit; 0 ends it there, unchanged.
    using EndEditFn = std::function<int(CReportCtrl* list, int row, int column, bool keep, void* owner)>;

    explicit CReportCtrl(QWidget* parent = nullptr, int controlId = 0);

    int InsertColumn(int index, const QString& header, Qt::Alignment format, int width);
    void SetGridLines(bool on) { setShowGrid(on); }
    int InsertItem(int row, const QString& text = QString());
    bool SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    void* GetItemData(int row) const;
    bool SetItemData(int row, void* data);
    // row or column -1: all; colour -1: the window's text colour.
    void SetItemTextColor(int row, int column, int64_t colourRef, bool redraw = true);
    QColor ItemTextColor(int row, int column) const;
    int GetItemCount() const { return rowCount(); }
    int GetFirstSelectedItem() const;
    void SelectItem(int row);
    void EnsureVisible(int row);
    // to: from - n, from + n, kMoveTop or kMoveBottom; clamped. Returns the new row.
    int MoveItem(int from, int to);
    bool DeleteItem(int row, bool selectNeighbour);
    void DeleteAllItems();
    // Closes an open cell editor; keep = commit the text.
    void EndEdit(bool keep);
    void SetEditable(bool on) { m_editable = on; }
    void SetSortable(bool on) { m_sortable = on; }
    void SetCallbacks(BeginEditFn begin, ValidateFn validate, EndEditFn end);
    void SetOwner(void* owner) { m_owner = owner; }

    // The cell being edited, or (-1, -1).
    int EditRow() const { return m_editRow; }
    int EditColumn() const { return m_editColumn; }
    bool IsEditing() const { return m_editRow >= 0; }
    QLineEdit* EditBox() const { return m_edit; }
    // Starts editing a cell as a click on it would.
    void BeginEdit(int row, int column);
    // The drop-down a begin-edit callback opens over the cell.
    CComboBox4ListCtrl* OpenDropDown(int row, int column, const QStringList& items, int current);
    CComboBox4ListCtrl* DropDown() const { return m_dropDown; }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    // A row's caller data rides on its first cell: whatever replaces or takes
    // that cell, or shifts the columns under it, goes through the members above.
    using QTableWidget::clear;
    using QTableWidget::insertColumn;
    using QTableWidget::removeColumn;
    using QTableWidget::setColumnCount;
    using QTableWidget::setItem;
    using QTableWidget::takeItem;

    QTableWidgetItem* Cell(int row, int column);
    void ClickCell(QMouseEvent* event);
    void HeaderClicked(int column);
    void FinishEdit(bool keep);
    // Puts the open editor back on its cell after a scroll or a resize.
    void PlaceEditor();

    int m_id;
    bool m_editable = false;
    bool m_sortable = false;
    int m_editRow = -1;
    int m_editColumn = -1;
    QLineEdit* m_edit = nullptr;
    QValidator* m_digitsOnly = nullptr; // one for the list's life, lent to each edit
    Qt::Alignment m_editAlignment = Qt::AlignLeft;
    QPointer<CComboBox4ListCtrl> m_dropDown;
    BeginEditFn m_begin;
    ValidateFn m_validate;
    EndEditFn m_end;
    void* m_owner = nullptr;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    bool m_finishing = false;
};

} // namespace orvane
