// Without a mouse: Tab walks every enabled control of a window and comes
// back, the key group is one stop walked with the arrows, and every control
// has a name a screen reader can say.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <set>

#include "Gallery.h"
#include "support/TestApp.h"
#include "ui/BitmapSlider.h"
#include "ui/ColorStatic.h"
#include "ui/HyperLink.h"
#include "ui/PngButton.h"
#include "ui/ReportCtrl.h"
#include "ui/SkinColorBtn.h"
#include "ui/support/UiTestSupport.h"

namespace orvane {
namespace {

class GalleryKeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gallery = CGallery::Build(QStringLiteral(ORVANE_BIN_DIR) + "/");
        ASSERT_TRUE(gallery);
        window = gallery->Window();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    QWidget* Focus() const { return QApplication::focusWidget(); }
    void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(Focus() ? Focus() : window, Qt::Key(key), mods);
    }
    std::vector<QWidget*> Controls() const {
        std::vector<QWidget*> out;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (qobject_cast<CPngButton*>(w) || qobject_cast<CBitmapSlider*>(w) ||
                qobject_cast<CSkinColorBtn*>(w) || qobject_cast<CHyperLink*>(w) ||
                qobject_cast<CReportCtrl*>(w) || qobject_cast<ColorStatic*>(w))
                out.push_back(w);
        return out;
    }

    QApplication& app = orvane::testing::TestApp(); // before any widget
    std::unique_ptr<CGallery> gallery;
    QWidget* window = nullptr;
};

TEST_F(GalleryKeyboardTest, TabReachesEveryEnabledControlAndComesBack) {
    Press(Qt::Key_Tab);
    QWidget* first = Focus();
    ASSERT_NE(first, nullptr);
    std::set<QWidget*> reached{first};
    std::vector<QWidget*> keyGroupStops;
    int steps = 0;
    for (; steps < 200; ++steps) {
        Press(Qt::Key_Tab);
        if (Focus() == first) break;
        reached.insert(Focus());
    }
    ASSERT_LT(steps, 200) << "Tab never came back to the first control";
    // Shift+Tab walks back the same way.
    Press(Qt::Key_Backtab);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focus(), first);

    auto* firstKey = qobject_cast<CPngButton*>(first);
    ASSERT_NE(firstKey, nullptr);
    for (QWidget* w : Controls()) {
        if (!w->isEnabled() || qobject_cast<ColorStatic*>(w)) continue;
        // Keys of a group other than its stop are reached with the arrows.
        if (w->focusPolicy() == Qt::ClickFocus) continue;
        EXPECT_TRUE(reached.count(w))
            << w->metaObject()->className() << " "
            << QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).toStdString();
    }
    // The first key row is one stop: the arrows walk it, skipping the disabled key.
    Press(Qt::Key_Right);
    EXPECT_NE(Focus(), first);
    EXPECT_EQ(Focus()->y(), first->y());
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    EXPECT_TRUE(Focus()->isEnabled());
    QWidget* walked = Focus();
    Press(Qt::Key_Tab);
    Press(Qt::Key_Backtab);
    EXPECT_EQ(Focus(), walked); // the group is entered where it was left
}

TEST_F(GalleryKeyboardTest, EveryControlHasANameAndSlidersTheirValue) {
    for (QWidget* w : Controls()) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(a, nullptr);
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << w->metaObject()->className();
    }
    CBitmapSlider* slider = window->findChildren<CBitmapSlider*>().value(1);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(slider);
    EXPECT_EQ(a->role(), QAccessible::Slider);
    EXPECT_EQ(a->text(QAccessible::Name), "Brightness");
    ASSERT_NE(a->valueInterface(), nullptr);
    EXPECT_EQ(a->valueInterface()->currentValue().toInt(), 2);
    EXPECT_EQ(a->valueInterface()->maximumValue().toInt(), 5);

    auto* key = window->findChildren<CPngButton*>().value(0);
    const QString name = QAccessible::queryAccessibleInterface(key)->text(QAccessible::Name);
    EXPECT_EQ(name, "A: Macro 1"); // the key's name, then its assignment
    auto* link = window->findChildren<CHyperLink*>().value(0);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(link)->role(), QAccessible::Link);
}

} // namespace
} // namespace orvane
