// The picture slider: positions from pointer, keys and wheel, and the
// UM_SLIDER notifications its owner acts on.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include "services/WindowMessages.h"
#include "support/TestApp.h"
#include "ui/BitmapSlider.h"
#include "ui/FocusMark.h"
#include "ui/MessageBridge.h"
#include "ui/support/UiTestSupport.h"

namespace orvane {
namespace {

class SliderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        slider = new CBitmapSlider(&parent, 1178);
        QPixmap picture(220, 32);
        picture.fill(Qt::darkGray);
        slider->SetBitmap(picture);
        slider->SetRange(0, 5);
        slider->SetPageSize(10);
    }
    void Key(int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(slider, &e);
    }
    void Mouse(QEvent::Type type, int x) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(x, 16), slider->mapToGlobal(QPointF(x, 16)), button, held,
                      Qt::NoModifier);
        QApplication::sendEvent(slider, &e);
    }
    void Wheel(int delta) {
        QWheelEvent e(QPointF(5, 5), slider->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &e);
    }
    std::vector<intptr_t> Positions() {
        parent.Drain();
        std::vector<intptr_t> out;
        for (const auto& m : parent.messages) {
            EXPECT_EQ(m.message, UM_SLIDER);
            EXPECT_EQ(m.wParam, 1178u);
            out.push_back(m.lParam);
        }
        parent.messages.clear();
        return out;
    }

    QApplication& app = orvane::testing::TestApp(); // before any widget
    test::CRecordingParent parent;
    CBitmapSlider* slider = nullptr;
};

TEST_F(SliderTest, PagesClampToTheRange) {
    EXPECT_EQ(slider->size(), QSize(220, 32));
    slider->SetPos(2);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(slider->Pos(), 5);
    slider->SetPos(2);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(slider->Pos(), 0);
    Key(Qt::Key_End);
    EXPECT_EQ(slider->Pos(), 5);
    Key(Qt::Key_Right); // already at the end: stays, still reported
    EXPECT_EQ(slider->Pos(), 5);
    Key(Qt::Key_Up);
    EXPECT_EQ(slider->Pos(), 4);
    Key(Qt::Key_Left);
    EXPECT_EQ(slider->Pos(), 3);
    Key(Qt::Key_Home);
    Key(Qt::Key_Down);
    EXPECT_EQ(slider->Pos(), 1);
    EXPECT_EQ(Positions(), (std::vector<intptr_t>{5, 0, 5, 5, 4, 3, 0, 1}));
    slider->SetPos(99);
    EXPECT_EQ(slider->Pos(), 5);
}

TEST_F(SliderTest, PointerPositionsAndReleaseAlwaysNotifies) {
    EXPECT_EQ(slider->PosToPixel(1), 44);
    EXPECT_EQ(slider->PixelToPos(0), 0);
    EXPECT_EQ(slider->PixelToPos(34), 1); // the +10 reaches the next step early
    EXPECT_EQ(slider->PixelToPos(33), 0);
    EXPECT_EQ(slider->PixelToPos(210), 5);

    Mouse(QEvent::MouseButtonPress, 100); // (100 + 10) / 220 * 5 = 2.5
    EXPECT_EQ(slider->Pos(), 2);
    EXPECT_TRUE(slider->IsDragging());
    Mouse(QEvent::MouseMove, 200);
    EXPECT_EQ(slider->Pos(), 4);
    Mouse(QEvent::MouseButtonRelease, 200);
    EXPECT_FALSE(slider->IsDragging());
    EXPECT_EQ(Positions(), (std::vector<intptr_t>{2, 4, 4}));

    // A press on the current position's own pixel changes nothing; the release still tells.
    Mouse(QEvent::MouseButtonPress, slider->PosToPixel(4));
    Mouse(QEvent::MouseButtonRelease, slider->PosToPixel(4));
    EXPECT_EQ(Positions(), (std::vector<intptr_t>{4}));

    // A disabled slider ignores the pointer.
    slider->setEnabled(false);
    Mouse(QEvent::MouseButtonPress, 0);
    Mouse(QEvent::MouseButtonRelease, 0);
    EXPECT_EQ(slider->Pos(), 4);
    EXPECT_TRUE(Positions().empty());
}

TEST_F(SliderTest, WheelOnlyWhileHoveredOrFocusedAwayLowers) {
    slider->SetPos(3);
    Wheel(120);
    EXPECT_EQ(slider->Pos(), 3);
    EXPECT_TRUE(Positions().empty());

    Mouse(QEvent::MouseButtonPress, slider->PosToPixel(3));
    Mouse(QEvent::MouseButtonRelease, slider->PosToPixel(3));
    Positions();
    Wheel(120);
    EXPECT_EQ(slider->Pos(), 2);
    Wheel(-120);
    Wheel(-120);
    EXPECT_EQ(slider->Pos(), 4);
    EXPECT_EQ(Positions(), (std::vector<intptr_t>{2, 3, 4}));

    // A touchpad's small deltas make one step per 120 units, in either direction.
    for (int i = 0; i < 7; ++i)
        Wheel(-30);
    EXPECT_EQ(slider->Pos(), 5);
    Wheel(15);
    Wheel(-15); // turned back: nothing carried over
    EXPECT_EQ(Positions(), (std::vector<intptr_t>{5}));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(slider, &leave);
    Wheel(120);
    EXPECT_EQ(slider->Pos(), 5);
}

TEST_F(SliderTest, DisabledDuringADragLetsTheMouseGo) {
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    Mouse(QEvent::MouseButtonPress, 50);
    ASSERT_EQ(QWidget::mouseGrabber(), slider);
    slider->setEnabled(false);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_FALSE(slider->IsDragging());
    slider->setEnabled(true);
    Mouse(QEvent::MouseMove, 210); // no drag revives
    EXPECT_EQ(slider->Pos(), 1);
}

TEST_F(SliderTest, EachChangeReachesTheWindowOnceWithTheSlidersIdAndPosition) {
    // The window's own bridge takes it, from a child and past the plain
    // group box between.
    QWidget dialog;
    auto* bridge = new CMessageBridge(&dialog);
    std::vector<std::pair<uintptr_t, intptr_t>> seen;
    bridge->OnMessage(UM_SLIDER, [&](uintptr_t w, intptr_t l) {
        seen.emplace_back(w, l);
        return intptr_t(0);
    });
    auto* group = new QWidget(&dialog);
    CBitmapSlider child(&dialog, 1179), nested(new QWidget(group), 1178);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier),
        right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    for (CBitmapSlider* s : {&child, &nested}) {
        s->SetBitmap(QPixmap(220, 32));
        s->SetRange(0, 5);
    }
    QApplication::sendEvent(&child, &end);
    QApplication::sendEvent(&nested, &right);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(seen, (std::vector<std::pair<uintptr_t, intptr_t>>{{1179, 5}, {1178, 1}}));
    EXPECT_EQ(MessageReceiverOf(&nested), &dialog);

    // Without any bridge the message event goes to the window itself.
    test::CRecordingParent window;
    auto* box = new QWidget(&window);
    CBitmapSlider plain(box, 1179);
    plain.SetBitmap(QPixmap(220, 32));
    plain.SetRange(0, 5);
    QApplication::sendEvent(&plain, &right);
    window.Drain();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].wParam, 1179u);
}

TEST_F(SliderTest, KeyboardFocusMarkIsDrawnOverThePicture) {
    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    const QImage plain = slider->grab().toImage();
    EXPECT_EQ(plain.pixelColor(0, 10), QColor(Qt::darkGray));
    QTest::keyClick(&parent, Qt::Key_Tab);
    ASSERT_TRUE(slider->hasFocus());
    const QImage marked = slider->grab().toImage();
    EXPECT_EQ(marked.pixelColor(0, 10), kFocusMarkOuter);
    EXPECT_EQ(marked.pixelColor(219, 10), kFocusMarkOuter);
    EXPECT_EQ(marked.pixelColor(100, 16), QColor(Qt::darkGray));
}

} // namespace
} // namespace orvane
