// Image buttons: which face and which rectangle of it they show, in which
// state, and how they treat clicks and tooltips.
#include <gtest/gtest.h>

#include <fstream>
#include <QDialog>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include "support/TestApp.h"
#include "ui/FocusMark.h"
#include "ui/PngButton.h"
#include "ui/support/UiTestSupport.h"

namespace orvane {
namespace {

using test::FacePixel;

class PngButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        orvane::testing::TestApp();
        for (int i = 0; i < 7; ++i)
            faces.push_back(test::MakeFace(i + 1));
        button = new CPngButton(&parent, 1058);
        button->setGeometry(31, 21, 20, 10);
        button->SetPicturesAt(31, 21, F(0), F(1), F(2), F(3), F(4), false);
    }
    const CSkinFace* F(int i) const { return faces[i].get(); }
    QImage Shot() { return button->grab().toImage(); }
    void Enter() {
        QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(button, &e);
    }

    QApplication& app = orvane::testing::TestApp(); // before any widget
    test::CRecordingParent parent;
    std::vector<std::unique_ptr<CSkinFace>> faces;
    CPngButton* button = nullptr;
};

TEST_F(PngButtonTest, ShowsItsOwnRectangleOfTheFaceCutOnePixelUpAndLeft) {
    const QImage img = Shot();
    ASSERT_EQ(img.size(), QSize(20, 10));
    EXPECT_EQ(img.pixel(0, 0), FacePixel(1, 30, 20));
    EXPECT_EQ(img.pixel(19, 9), FacePixel(1, 49, 29));
    EXPECT_EQ(button->CurrentPicture(), F(0));

    button->SetChecked(true, true);
    EXPECT_EQ(Shot().pixel(5, 5), FacePixel(5, 35, 25));
    // A new source moves the cut, not the button.
    button->SetSource(101, 51, true);
    EXPECT_EQ(Shot().pixel(0, 0), FacePixel(5, 100, 50));
}

TEST_F(PngButtonTest, StatePriority) {
    uint32_t colour = 0;
    button->SetTextStyle(true, 8, "Sans", 0x01, 0x02, 0x03, 0x04, 0x05,
                         DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    button->SetChecked(true, false);
    EXPECT_EQ(button->ChoosePicture(&colour), F(4));
    EXPECT_EQ(colour, 0x05u);
    Enter(); // hover beats checked
    EXPECT_EQ(button->ChoosePicture(&colour), F(1));
    EXPECT_EQ(colour, 0x02u);
    button->setDown(true); // pressed beats hover
    EXPECT_EQ(button->ChoosePicture(&colour), F(2));
    button->SetMarkPictures(F(5), F(6), true, true, false); // mark mode beats pressed, normal colour
    EXPECT_EQ(button->ChoosePicture(&colour), F(6));
    EXPECT_EQ(colour, 0x01u);
    button->SetMarkPictures(F(5), F(6), true, false, false);
    EXPECT_EQ(button->ChoosePicture(), F(5));
    // Disabled wins over all of it.
    button->setEnabled(false);
    EXPECT_EQ(button->ChoosePicture(&colour), F(3));
    EXPECT_EQ(colour, 0x04u);
    EXPECT_EQ(Shot().pixel(3, 3), FacePixel(4, 33, 23));
}

TEST_F(PngButtonTest, OutlineModeDrawsTheLightColourInsteadOfTheFace) {
    button->resize(30, 20);
    button->SetOutline(0x0000FF, true); // red as 0x00BBGGRR
    const QImage img = Shot();
    EXPECT_EQ(img.pixel(1, 10), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(15, 18), qRgb(255, 0, 0));
    EXPECT_NE(img.pixel(15, 10), qRgb(255, 0, 0));
    EXPECT_NE(img.pixel(15, 10), FacePixel(1, 45, 30));
    button->SetOutline(0x0000FF, false);
    EXPECT_EQ(Shot().pixel(15, 10), FacePixel(1, 45, 30));
}

TEST_F(PngButtonTest, DoubleClickIsTwoClicksAndAfterPaintIsTold) {
    QSignalSpy clicks(button, &QPushButton::clicked);
    auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, held,
                      Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(clicks.count(), 2);

    // Told of each change of face, not of each paint.
    std::vector<bool> normal;
    button->SetAfterPaint([&](CPngButton* b, bool n) {
        EXPECT_EQ(b, button);
        normal.push_back(n);
    });
    Shot();
    button->SetChecked(true, false);
    Shot();
    Shot();
    button->SetChecked(true, true);
    EXPECT_EQ(normal, (std::vector<bool>{true, false}));
}

TEST_F(PngButtonTest, TooltipRules) {
    EXPECT_FALSE(button->HasTooltip());
    button->SetTooltipText("Close", false);
    EXPECT_TRUE(button->HasTooltip());
    EXPECT_FALSE(button->TooltipActive());
    // An empty text changes nothing, not even the activation.
    button->SetTooltipText("", true);
    EXPECT_FALSE(button->TooltipActive());
    EXPECT_EQ(button->TooltipText(), "Close");
    // Hovering rebuilds the tooltip, active again.
    Enter();
    EXPECT_TRUE(button->IsHover());
    EXPECT_TRUE(button->TooltipActive());
    EXPECT_EQ(button->TooltipText(), "Close");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->IsHover());
}

TEST_F(PngButtonTest, NoTooltipOverAnOpenMenuAndAPressCancelsTheWait) {
    parent.show();
    button->SetTooltipText("Close", true);
    auto hoverUntilDue = [&] {
        Enter();
        EXPECT_TRUE(button->TooltipPending());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !button->TooltipPending(); }));
        return QToolTip::isVisible();
    };
    {
        QMenu menu;
        menu.addAction("Item");
        menu.popup(QPoint(0, 0));
        ASSERT_EQ(QApplication::activePopupWidget(), &menu);
        EXPECT_FALSE(hoverUntilDue());
    }
    Enter();
    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_FALSE(button->TooltipPending()) << "the press may open a menu";
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_TRUE(hoverUntilDue()) << "with nothing open the tooltip shows";
    QToolTip::hideText();
}

TEST_F(PngButtonTest, MissingSkinKeyLeavesTheButtonDisabledAtOneOne) {
    QTemporaryDir dir;
    const std::string ini = dir.filePath("Main.ini").toStdString();
    std::ofstream(ini) << "[BUTTONINFO]\nCONTROL_OK=40,50,60,20\n";
    const SkinFaceSet set{F(0), F(1), F(2), F(3), F(4)};
    CPngButton ok(&parent, 1), gone(&parent, 2);
    SkinPlaceButton(ok, ini, "CONTROL_OK", set);
    SkinPlaceButton(gone, ini, "CONTROL_CANCEL", set);
    EXPECT_TRUE(ok.isEnabled());
    EXPECT_EQ(ok.geometry(), QRect(40, 50, 60, 20));
    EXPECT_EQ(ok.Source(), QPoint(40, 50));
    EXPECT_FALSE(gone.isEnabled());
    EXPECT_EQ(gone.geometry(), QRect(1, 1, 1, 1));
    EXPECT_EQ(gone.ChoosePicture(), F(3));
}

TEST_F(PngButtonTest, KeyboardFocusDrawsAMarkOverThePicture) {
    button->setGeometry(31, 21, 40, 24);
    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    const QImage plain = Shot();
    QTest::keyClick(&parent, Qt::Key_Tab);
    ASSERT_TRUE(button->hasFocus());
    const QImage marked = Shot();
    EXPECT_EQ(marked.pixelColor(0, 10), kFocusMarkOuter);
    EXPECT_EQ(marked.pixelColor(1, 10), kFocusMarkInner);
    EXPECT_EQ(marked.pixel(20, 12), plain.pixel(20, 12)); // the face stays visible inside
    button->clearFocus();
    EXPECT_EQ(Shot().pixel(0, 10), plain.pixel(0, 10));
}

TEST_F(PngButtonTest, ChainedButtonsAreDrawnOverTheOneBeforeWithoutPaintLoops) {
    // `over` is created first, so Qt would draw `button` over it.
    auto* over = new CPngButton(&parent, 1055);
    over->setGeometry(41, 21, 20, 10);
    over->SetPicturesAt(41, 21, F(5), F(5), F(5), F(5), F(5), false);
    over->stackUnder(button);
    RedrawAfter(button, {over});
    int paints = 0;
    struct CCounter : QObject {
        int* n;
        explicit CCounter(int* count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++*n;
            return false;
        }
    } counter(&paints);
    button->installEventFilter(&counter);
    over->installEventFilter(&counter);
    // A callback that redraws its follower, as the window's chaining does.
    button->SetAfterPaint([&](CPngButton*, bool) { over->update(); });
    parent.resize(120, 60);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    const QImage whole = parent.grab().toImage();
    EXPECT_EQ(whole.pixel(45, 25), FacePixel(6, 44, 24)); // `over` wins where they overlap
    paints = 0;
    button->SetChecked(true, true);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_GT(paints, 0);
    EXPECT_LT(paints, 6); // settles: no endless update loop
}

TEST_F(PngButtonTest, TurnedCaptionFollowsTheTextFormat) {
    // The mean x of the caption's red pixels, for a turned caption in `format`.
    auto inkX = [&](unsigned format) {
        CPngButton b(&parent, 0);
        b.resize(200, 60);
        b.setText("Wide");
        b.SetTextStyle(true, 9, "DejaVu Sans", 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, format);
        b.SetTextAngle(100, false);
        const QImage img = b.grab().toImage();
        long sum = 0, n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qRed(img.pixel(x, y)) > 150 && qGreen(img.pixel(x, y)) < 100) sum += x, ++n;
        return n ? int(sum / n) : -1;
    };
    const int left = inkX(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    const int centre = inkX(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const int right = inkX(DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    ASSERT_GT(left, 0);
    EXPECT_LT(left + 40, centre);
    EXPECT_LT(centre + 40, right);
}

TEST_F(PngButtonTest, InADialogSpaceClicksTheFocusedButtonAndEnterDoesNot) {
    QDialog dialog;
    auto* ok = new CPngButton(&dialog, 1);
    ok->setGeometry(10, 10, 40, 20);
    QSignalSpy clicks(ok, &QAbstractButton::clicked);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Tab);
    ASSERT_TRUE(ok->hasFocus());
    QTest::keyClick(ok, Qt::Key_Return);
    QTest::keyClick(ok, Qt::Key_Enter);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(ok, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace
} // namespace orvane
