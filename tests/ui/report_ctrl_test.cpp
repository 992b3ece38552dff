// The report list: the click that only selects, in-place editing with its
// callbacks and limits, moving, deleting and sorting rows.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QValidator>

#include "support/TestApp.h"
#include "ui/ComboBox4ListCtrl.h"
#include "ui/ReportCtrl.h"
#include "ui/support/UiTestSupport.h"

namespace orvane {
namespace {

class ReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        parent.resize(400, 300);
        list = new CReportCtrl(&parent, 1019);
        list->setGeometry(0, 0, 400, 300);
        list->InsertColumn(0, "Action", Qt::AlignLeft, 150);
        list->InsertColumn(1, "Delay", Qt::AlignRight, 100);
        for (int i = 0; i < 4; ++i) {
            list->InsertItem(i, QString("row%1").arg(i));
            list->SetItemText(i, 1, QString::number(10 * i));
            list->SetItemData(i, &data[i]);
        }
        list->SetEditable(true);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }
    void Click(int row, int column) {
        const QPoint at = list->visualRect(list->model()->index(row, column)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void Type(QWidget* w, int key) { QTest::keyClick(w, Qt::Key(key)); }

    QApplication& app = orvane::testing::TestApp(); // before any widget
    test::CRecordingParent parent;
    CReportCtrl* list = nullptr;
    int data[4] = {0, 1, 2, 3};
};

TEST_F(ReportTest, FirstClickSelectsSecondClickEdits) {
    Click(2, 1);
    EXPECT_EQ(list->GetFirstSelectedItem(), 2);
    EXPECT_FALSE(list->IsEditing());
    Click(2, 1);
    ASSERT_TRUE(list->IsEditing());
    EXPECT_EQ(list->EditRow(), 2);
    EXPECT_EQ(list->EditColumn(), 1);
    QLineEdit* edit = list->EditBox();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->text(), "20");
    EXPECT_EQ(edit->selectedText(), "20");
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight); // the column's alignment
    // A click while editing ends the edit and does not start another.
    Click(1, 0);
    EXPECT_FALSE(list->IsEditing());
}

TEST_F(ReportTest, EditKeysAndLimit) {
    list->BeginEdit(0, 0);
    QLineEdit* edit = list->EditBox();
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, QString(150, 'x'));
    EXPECT_EQ(edit->text().size(), kCellEditLimit);
    Type(edit, Qt::Key_Tab); // does nothing
    EXPECT_TRUE(list->IsEditing());
    Type(edit, Qt::Key_Return);
    EXPECT_FALSE(list->IsEditing());
    EXPECT_EQ(list->GetItemText(0, 0), QString(100, 'x'));
    parent.Drain();
    ASSERT_EQ(parent.messages.size(), 1u);
    EXPECT_EQ(parent.messages[0].message, UM_LIST_CELL_CHANGED);
    EXPECT_EQ(parent.messages[0].wParam, 0u);
    EXPECT_EQ(parent.messages[0].lParam, 0);
    parent.messages.clear();

    list->BeginEdit(1, 0);
    QTest::keyClicks(list->EditBox(), "dropped");
    Type(list->EditBox(), Qt::Key_Escape);
    EXPECT_EQ(list->GetItemText(1, 0), "row1");
    // Enter without a change writes nothing and tells nobody.
    list->BeginEdit(1, 0);
    Type(list->EditBox(), Qt::Key_Return);
    parent.Drain();
    EXPECT_TRUE(parent.messages.empty());
}

TEST_F(ReportTest, CallbacksDecide) {
    int seenOwner = 0;
    list->SetOwner(&seenOwner);
    bool refuseWrite = false;
    list->SetCallbacks(
        [&](CReportCtrl*, int, int column, unsigned* style, void* owner) {
            EXPECT_EQ(owner, &seenOwner);
            if (column == 1) *style |= ES_NUMBER;
            return column == 0 && refuseWrite ? 0 : 1;
        },
        [&](CReportCtrl*, int, int, QString* text, void*) {
            *text = text->trimmed() + "0"; // the callback may rewrite the text
            return refuseWrite ? 0 : 1;
        },
        [&](CReportCtrl*, int, int, bool, void*) { return 1; });

    list->BeginEdit(3, 1);
    QTest::keyClicks(list->EditBox(), "4a2"); // digits only
    EXPECT_EQ(list->EditBox()->text(), "42");
    Type(list->EditBox(), Qt::Key_Return);
    EXPECT_EQ(list->GetItemText(3, 1), "420");

    refuseWrite = true;
    list->BeginEdit(3, 1);
    QTest::keyClicks(list->EditBox(), "7");
    Type(list->EditBox(), Qt::Key_Return);
    EXPECT_EQ(list->GetItemText(3, 1), "420");

    // A begin callback that answers 0 without opening a drop-down refused:
    // no edit box, and no cell stays marked as being edited.
    list->BeginEdit(2, 0);
    EXPECT_FALSE(list->IsEditing());
    EXPECT_TRUE(list->EditBox() == nullptr || !list->EditBox()->isVisible());
}

TEST_F(ReportTest, DropDownEditorEndsThroughTheEndCallback) {
    int chosen = -1;
    list->SetCallbacks(
        [&](CReportCtrl* l, int row, int column, unsigned*, void*) {
            l->OpenDropDown(row, column, {"Down", "Up", "Delay"}, 0);
            return 0;
        },
        nullptr,
        [&](CReportCtrl* l, int row, int column, bool keep, void*) {
            if (keep && l->DropDown()) {
                chosen = l->DropDown()->currentIndex();
                l->SetItemText(row, column, l->DropDown()->currentText());
            }
            return 0;
        });
    list->BeginEdit(1, 0);
    ASSERT_NE(list->DropDown(), nullptr);
    list->DropDown()->setCurrentIndex(2);
    Type(list->DropDown(), Qt::Key_Return);
    EXPECT_EQ(chosen, 2);
    EXPECT_FALSE(list->IsEditing());
    EXPECT_EQ(list->GetItemText(1, 0), "Delay");
}

TEST_F(ReportTest, DeletingAndMovingRowsKeepsDataAndSelection) {
    EXPECT_TRUE(list->DeleteItem(3, true)); // the last row: the one before it is selected
    EXPECT_EQ(list->GetFirstSelectedItem(), 2);
    EXPECT_TRUE(list->DeleteItem(0, true)); // otherwise the next one
    EXPECT_EQ(list->GetFirstSelectedItem(), 0);
    EXPECT_EQ(list->GetItemText(0, 0), "row1");
    EXPECT_EQ(list->GetItemData(0), &data[1]);
    EXPECT_FALSE(list->DeleteItem(7, true));

    list->InsertItem(2, "row9");
    list->SetItemData(2, &data[3]);
    // Rows now: row1, row2, row9.
    EXPECT_EQ(list->MoveItem(2, kMoveTop), 0);
    EXPECT_EQ(list->GetItemText(0, 0), "row9");
    EXPECT_EQ(list->GetItemData(0), &data[3]);
    EXPECT_EQ(list->GetFirstSelectedItem(), 0);
    EXPECT_EQ(list->MoveItem(0, kMoveBottom), 2);
    EXPECT_EQ(list->MoveItem(2, 2 - 5), 0); // clamped at the top
    EXPECT_EQ(list->MoveItem(0, 0 + 1), 1);
    EXPECT_EQ(list->GetItemText(1, 0), "row9");
    EXPECT_EQ(list->GetItemText(1, 1), "");
    EXPECT_EQ(list->GetItemText(0, 1), "10");

    list->DeleteAllItems();
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(list->GetItemData(0), nullptr);
}

TEST_F(ReportTest, ColoursAndSorting) {
    list->SetItemTextColor(-1, 1, 0x0000FF);
    EXPECT_EQ(list->ItemTextColor(2, 1), QColor(255, 0, 0));
    EXPECT_NE(list->ItemTextColor(2, 0), QColor(255, 0, 0));
    list->SetItemTextColor(2, -1, -1);
    EXPECT_EQ(list->ItemTextColor(2, 1), list->palette().color(QPalette::Text));

    // Sorting is off unless asked for.
    list->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(list->GetItemText(0, 0), "row0");
    list->SetSortable(true);
    list->horizontalHeader()->sectionClicked(0);
    list->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(list->GetItemText(0, 0), "row3");
    EXPECT_EQ(list->GetItemData(0), &data[3]);
    parent.Drain();
    ASSERT_EQ(parent.messages.size(), 2u);
    EXPECT_EQ(parent.messages[0].message, UM_LIST_SORTED);
    EXPECT_EQ(parent.messages[0].lParam, 1);
    EXPECT_EQ(parent.messages[1].lParam, 0);
}

TEST_F(ReportTest, DoubleClickOnAnUnselectedRowStartsOneEditThatStaysOpen) {
    int begun = 0;
    list->SetCallbacks([&](CReportCtrl*, int, int, unsigned*, void*) { return ++begun, 1; }, nullptr,
                       [](CReportCtrl*, int, int, bool, void*) { return 1; });
    const QPoint at = list->visualRect(list->model()->index(1, 1)).center();
    // The order Qt delivers: press, release, double-click, release.
    QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCoreApplication::processEvents();
    EXPECT_EQ(begun, 1);
    ASSERT_TRUE(list->IsEditing());
    EXPECT_EQ(list->EditRow(), 1);
    EXPECT_TRUE(list->EditBox()->isVisible());
    EXPECT_TRUE(list->EditBox()->hasFocus());
}

TEST_F(ReportTest, EditFollowsScrollingAndEndsKeepingItsTextWhenTheFocusLeaves) {
    for (int i = 4; i < 40; ++i)
        list->InsertItem(i, QString("row%1").arg(i));
    auto* other = new QLineEdit(&parent);
    other->setGeometry(0, 280, 100, 20);
    other->show();
    list->BeginEdit(3, 1);
    ASSERT_TRUE(list->IsEditing());
    QLineEdit* edit = list->EditBox();
    const int before = edit->y();
    list->verticalScrollBar()->setValue(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->geometry().top(), list->visualRect(list->model()->index(3, 1)).top());
    EXPECT_LT(edit->y(), before);

    edit->setText("77");
    other->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_FALSE(list->IsEditing());
    EXPECT_EQ(list->GetItemText(3, 1), "77");
    EXPECT_TRUE(other->hasFocus()); // the focus stays where the user put it
    parent.Drain();
    ASSERT_FALSE(parent.messages.empty());
    EXPECT_EQ(parent.messages.back().message, UM_LIST_CELL_CHANGED);

    // Many edits lend the same one validator.
    list->SetCallbacks([](CReportCtrl*, int, int, unsigned* style, void*) { return *style |= ES_NUMBER, 1; },
                       nullptr, nullptr);
    const auto validators = list->findChildren<QValidator*>().size();
    for (int i = 0; i < 5; ++i) {
        list->BeginEdit(i, 1);
        list->EndEdit(false);
    }
    EXPECT_EQ(list->findChildren<QValidator*>().size(), validators);
}

TEST_F(ReportTest, RowDataStaysWithItsRowWhateverMovesIt) {
    // Through the list's own operations and through QTableWidget's.
    list->insertRow(0);
    EXPECT_EQ(list->GetItemData(0), nullptr);
    EXPECT_EQ(list->GetItemData(1), &data[0]);
    list->removeRow(2); // row1
    EXPECT_EQ(list->GetItemData(2), &data[2]);
    list->BeginEdit(2, 1);
    list->EditBox()->setText("5");
    list->EndEdit(true);
    EXPECT_EQ(list->GetItemData(2), &data[2]);
    list->sortItems(0, Qt::DescendingOrder);
    for (int r = 0; r < list->GetItemCount(); ++r) {
        const QString text = list->GetItemText(r, 0);
        if (text.startsWith("row")) {
            EXPECT_EQ(list->GetItemData(r), &data[text.mid(3).toInt()]) << text.toStdString();
        }
    }
    list->MoveItem(0, kMoveBottom); // descending: row3 was first
    EXPECT_EQ(list->GetItemData(list->GetItemCount() - 1), &data[3]);
}

} // namespace
} // namespace orvane
