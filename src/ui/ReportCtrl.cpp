#include "ui/ReportCtrl.h"

#include <algorithm>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

#include "ui/ComboBox4ListCtrl.h"
#include "ui/ControlMessages.h"
#include "ui/PngButton.h"

namespace orvane {

namespace {
// Where a row keeps its caller data: its first cell, which every way of
// moving rows (QTableWidget's sorting included) carries along.
constexpr int kRowDataRole = Qt::UserRole + 0x52;
} // namespace

CReportCtrl::CReportCtrl(QWidget* parent, int controlId) : QTableWidget(parent), m_id(controlId) {
    SetControlId(this, controlId);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    setShowGrid(false);
    setWordWrap(false);
    // Tab leaves the list for the next control, as in a list view; the
    // arrows move within it.
    setTabKeyNavigation(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CReportCtrl::HeaderClicked);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { PlaceEditor(); });
    m_digitsOnly = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
}

int CReportCtrl::InsertColumn(int index, const QString& header, Qt::Alignment format, int width) {
    index = std::clamp(index, 0, columnCount());
    insertColumn(index);
    auto* item = new QTableWidgetItem(header);
    item->setTextAlignment(format | Qt::AlignVCenter);
    setHorizontalHeaderItem(index, item);
    setColumnWidth(index, width);
    return index;
}

QTableWidgetItem* CReportCtrl::Cell(int row, int column) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        QTableWidgetItem* header = horizontalHeaderItem(column);
        cell->setTextAlignment(
            (header ? Qt::Alignment(header->textAlignment()) & Qt::AlignHorizontal_Mask : Qt::AlignLeft) |
            Qt::AlignVCenter);
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, column, cell);
    }
    return cell;
}

int CReportCtrl::InsertItem(int row, const QString& text) {
    EndEdit(true);
    row = std::clamp(row, 0, rowCount());
    insertRow(row);
    for (int c = 0; c < columnCount(); ++c)
        Cell(row, c);
    if (columnCount() > 0) Cell(row, 0)->setText(text);
    return row;
}

bool CReportCtrl::SetItemText(int row, int column, const QString& text) {
    EndEdit(true);
    QTableWidgetItem* cell = Cell(row, column);
    if (!cell) return false;
    cell->setText(text);
    return true;
}

QString CReportCtrl::GetItemText(int row, int column) const {
    const QTableWidgetItem* cell = (row >= 0 && row < rowCount()) ? item(row, column) : nullptr;
    return cell ? cell->text() : QString();
}

void* CReportCtrl::GetItemData(int row) const {
    const QTableWidgetItem* first = row >= 0 && row < rowCount() ? item(row, 0) : nullptr;
    return first ? reinterpret_cast<void*>(first->data(kRowDataRole).value<quintptr>()) : nullptr;
}

bool CReportCtrl::SetItemData(int row, void* data) {
    QTableWidgetItem* first = Cell(row, 0);
    if (!first) return false;
    first->setData(kRowDataRole, QVariant::fromValue(reinterpret_cast<quintptr>(data)));
    return true;
}

void CReportCtrl::SetItemTextColor(int row, int column, int64_t colourRef, bool redraw) {
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if ((row < 0 || row == r) && (column < 0 || column == c)) {
                QTableWidgetItem* cell = Cell(r, c);
                if (colourRef < 0)
                    cell->setData(Qt::ForegroundRole, QVariant());
                else
                    cell->setForeground(ColourFromRef(uint32_t(colourRef)));
            }
    if (redraw) viewport()->update();
}

QColor CReportCtrl::ItemTextColor(int row, int column) const {
    const QTableWidgetItem* cell = (row >= 0 && row < rowCount()) ? item(row, column) : nullptr;
    if (!cell || !cell->data(Qt::ForegroundRole).isValid()) return palette().color(QPalette::Text);
    return cell->foreground().color();
}

int CReportCtrl::GetFirstSelectedItem() const {
    const auto rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    int first = -1;
    for (const QModelIndex& i : rows)
        if (first < 0 || i.row() < first) first = i.row();
    return first;
}

void CReportCtrl::SelectItem(int row) {
    if (row < 0 || row >= rowCount()) {
        clearSelection();
        return;
    }
    setCurrentCell(row, std::max(0, currentColumn()),
                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CReportCtrl::EnsureVisible(int row) {
    if (QTableWidgetItem* cell = (row >= 0 && row < rowCount()) ? item(row, 0) : nullptr) scrollToItem(cell);
}

int CReportCtrl::MoveItem(int from, int to) {
    if (from < 0 || from >= rowCount()) return -1;
    EndEdit(true);
    const int last = rowCount() - 1;
    to = to == kMoveBottom ? last : std::clamp(to, 0, last);
    if (to == from) return from;
    std::vector<QTableWidgetItem*> cells;
    for (int c = 0; c < columnCount(); ++c)
        cells.push_back(takeItem(from, c));
    QTableWidgetItem* record = takeVerticalHeaderItem(from);
    removeRow(from);
    insertRow(to);
    for (int c = 0; c < columnCount(); ++c)
        setItem(to, c, cells[c]);
    if (record) setVerticalHeaderItem(to, record);
    SelectItem(to);
    return to;
}

bool CReportCtrl::DeleteItem(int row, bool selectNeighbour) {
    if (row < 0 || row >= rowCount()) return false;
    EndEdit(false);
    removeRow(row);
    if (selectNeighbour && rowCount() > 0) SelectItem(row < rowCount() ? row : rowCount() - 1);
    return true;
}

void CReportCtrl::DeleteAllItems() {
    EndEdit(false);
    setRowCount(0);
}

void CReportCtrl::SetCallbacks(BeginEditFn begin, ValidateFn validate, EndEditFn end) {
    m_begin = std::move(begin);
    m_validate = std::move(validate);
    m_end = std::move(end);
}

void CReportCtrl::BeginEdit(int row, int column) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
    EndEdit(true);
    SelectItem(row);
    setCurrentCell(row, column, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_editRow = row;
    m_editColumn = column;
    unsigned style = 0;
    if (m_begin && m_begin(this, row, column, &style, m_owner) == 0) {
        // The callback's own drop-down takes over; without one it refused,
        // and no cell may stay marked as being edited.
        if (!m_dropDown || m_dropDown->Row() != row || m_dropDown->Column() != column)
            m_editRow = m_editColumn = -1;
        return;
    }
    if (m_editRow < 0) return; // the callback ended the edit itself

    QTableWidgetItem* header = horizontalHeaderItem(column);
    const Qt::Alignment align =
        (header ? Qt::Alignment(header->textAlignment()) : Qt::AlignLeft) & Qt::AlignHorizontal_Mask;
    if (!m_edit || align != m_editAlignment) {
        delete m_edit;
        m_edit = new QLineEdit(viewport());
        m_edit->installEventFilter(this);
        m_editAlignment = align;
    }
    m_edit->setAlignment(align | Qt::AlignVCenter);
    m_edit->setFrame(true);
    m_edit->setValidator((style & ES_NUMBER) ? m_digitsOnly : nullptr);
    m_edit->setMaxLength(kCellEditLimit);
    m_edit->setFont(font());
    m_edit->setText(GetItemText(row, column).left(kCellEditLimit));
    m_edit->selectAll();
    m_edit->show();
    PlaceEditor();
    m_edit->setFocus(Qt::OtherFocusReason);
}

void CReportCtrl::PlaceEditor() {
    if (m_editRow < 0) return;
    const QRect cell = visualRect(model()->index(m_editRow, m_editColumn));
    if (m_edit && m_edit->isVisible()) m_edit->setGeometry(cell.adjusted(2, 0, 0, 0));
    if (m_dropDown) m_dropDown->setGeometry(cell);
}

void CReportCtrl::scrollContentsBy(int dx, int dy) {
    QTableWidget::scrollContentsBy(dx, dy);
    PlaceEditor();
}

CComboBox4ListCtrl* CReportCtrl::OpenDropDown(int row, int column, const QStringList& items, int current) {
    delete m_dropDown;
    auto* combo = new CComboBox4ListCtrl(this, row, column);
    combo->addItems(items);
    combo->setCurrentIndex(current);
    combo->setGeometry(visualRect(model()->index(row, column)));
    combo->setFont(font());
    combo->show();
    combo->setFocus(Qt::OtherFocusReason);
    m_dropDown = combo;
    return combo;
}

void CReportCtrl::EndEdit(bool keep) {
    if (m_editRow < 0 || m_finishing) return;
    m_finishing = true;
    FinishEdit(keep);
    m_finishing = false;
}

void CReportCtrl::FinishEdit(bool keep) {
    const int row = m_editRow, column = m_editColumn;
    auto forget = [&] {
        // The list takes the focus back only from its own editor: when the
        // focus has gone elsewhere, it stays where the user put it.
        QWidget* focus = QApplication::focusWidget();
        const bool editorHadFocus =
            focus && (focus == m_edit || (m_dropDown && m_dropDown->isAncestorOf(focus)) ||
                      focus == m_dropDown.data());
        if (m_edit) m_edit->hide();
        if (m_dropDown) {
            m_dropDown->hide();
            m_dropDown->deleteLater();
            m_dropDown = nullptr;
        }
        m_editRow = m_editColumn = -1;
        if (editorHadFocus) setFocus(Qt::OtherFocusReason);
    };
    if (m_end && m_end(this, row, column, keep, m_owner) == 0) {
        forget();
        return;
    }
    if (m_edit && m_edit->isVisible()) {
        QString text = m_edit->text();
        if (keep && text != GetItemText(row, column)) {
            bool write = true;
            if (m_validate) {
                write = m_validate(this, row, column, &text, m_owner) != 0;
                m_edit->setText(text);
            }
            if (write) {
                if (QTableWidgetItem* cell = Cell(row, column)) cell->setText(text.left(kCellEditLimit));
                forget();
                SendToParent(this, UM_LIST_CELL_CHANGED, uintptr_t(row), intptr_t(column));
                return;
            }
        }
    }
    forget();
}

void CReportCtrl::ClickCell(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool editorWasOpen = IsEditing();
    const int row = index.isValid() ? index.row() : -1;
    // Whether the row was already chosen before this click.
    const bool wasChosen =
        row >= 0 && (selectionModel()->isRowSelected(row, QModelIndex()) || currentIndex().row() == row);
    EndEdit(true);
    QTableWidget::mousePressEvent(event);
    if (m_editable && !editorWasOpen && wasChosen && index.isValid() && event->button() == Qt::LeftButton)
        BeginEdit(row, index.column());
}

void CReportCtrl::mousePressEvent(QMouseEvent* event) {
    ClickCell(event);
}

void CReportCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    ClickCell(event);
}

void CReportCtrl::keyPressEvent(QKeyEvent* event) {
    if (!IsEditing() && event->key() == Qt::Key_Space) return; // swallowed: space would toggle the selection
    QTableWidget::keyPressEvent(event);
}

bool CReportCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            EndEdit(true);
            return true;
        case Qt::Key_Escape:
            EndEdit(false);
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        default:
            break;
        }
    }
    if (watched == m_edit && event->type() == QEvent::FocusOut) {
        // The focus went elsewhere: the edit ends keeping its text, as Enter
        // does. A context menu or another window's turn is not the end.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && m_edit->isVisible())
            EndEdit(true);
    }
    if (watched == m_edit && event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

void CReportCtrl::HeaderClicked(int column) {
    if (!m_sortable) return;
    EndEdit(true);
    m_sortAscending = column == m_sortColumn ? !m_sortAscending : true;
    m_sortColumn = column;
    // Keep each row's data with its row while sorting.
    std::vector<int> order(rowCount());
    for (int i = 0; i < rowCount(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int cmp = QString::localeAwareCompare(GetItemText(a, column), GetItemText(b, column));
        return m_sortAscending ? cmp < 0 : cmp > 0;
    });
    std::vector<std::vector<QTableWidgetItem*>> cells(rowCount());
    std::vector<QTableWidgetItem*> records(rowCount());
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c)
            cells[r].push_back(takeItem(r, c));
        records[r] = takeVerticalHeaderItem(r);
    }
    for (int i = 0; i < rowCount(); ++i) {
        for (int c = 0; c < columnCount(); ++c)
            setItem(i, c, cells[order[i]][c]);
        if (records[order[i]]) setVerticalHeaderItem(i, records[order[i]]);
    }
    SendToParent(this, UM_LIST_SORTED, uintptr_t(column), m_sortAscending ? 1 : 0);
}

} // namespace orvane
