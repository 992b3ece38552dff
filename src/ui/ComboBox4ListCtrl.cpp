#include "ui/ComboBox4ListCtrl.h"

#include <QKeyEvent>
#include <QTimer>

#include "ui/ReportCtrl.h"

namespace orvane {

CComboBox4ListCtrl::CComboBox4ListCtrl(CReportCtrl* list, int row, int column)
    : QComboBox(list->viewport()), m_list(list), m_row(row), m_column(column) {
    // A choice ends the edit keeping it; the list's end callback reads it.
    connect(this, QOverload<int>::of(&QComboBox::activated), this,
            [this](int) { QTimer::singleShot(0, m_list, [list = m_list] { list->EndEdit(true); }); });
}

void CComboBox4ListCtrl::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_list->EndEdit(true);
        return;
    case Qt::Key_Escape:
        m_list->EndEdit(false);
        return;
    case Qt::Key_Tab:
        return;
    default:
        QComboBox::keyPressEvent(event);
    }
}

void CComboBox4ListCtrl::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // The popup takes the focus while open; that is not the end of the edit.
    if (event->reason() != Qt::PopupFocusReason && m_list->DropDown() == this) m_list->EndEdit(true);
}

} // namespace orvane
