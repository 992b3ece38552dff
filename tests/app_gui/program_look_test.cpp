// The application object gives every plain Qt control the skin's dark look:
// what a message box and an open drop-down list draw, not only what their
// palettes say.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>

#include "app/gui/OrvaneApp.h"
#include "ui/ProgramLook.h"

namespace orvane {
namespace {

bool Dark(const QColor& c) {
    return c.lightness() < 80;
}
bool Light(const QColor& c) {
    return c.lightness() > 170;
}

TEST(ProgramLook, MessageBoxesDropDownListsAndFieldsAreDrawnDarkInOneFamily) {
    int argc = 1;
    char name[] = "orvane";
    char* argv[] = {name, nullptr};
    COrvaneApp app(argc, argv, {});

    QMessageBox box;
    box.setText(QStringLiteral("Restore the factory settings?"));
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.show();
    EXPECT_TRUE(Light(box.palette().color(QPalette::WindowText)));
    const QImage boxShot = box.grab().toImage();
    EXPECT_TRUE(Dark(boxShot.pixelColor(2, 2))) << boxShot.pixelColor(2, 2).name().toStdString();

    QComboBox combo;
    combo.addItems({QStringLiteral("Wave"), QStringLiteral("Breathing"), QStringLiteral("Ripple")});
    combo.setCurrentIndex(2);
    combo.show();
    combo.showPopup();
    QAbstractItemView* list = combo.view();
    ASSERT_TRUE(list->isVisible());
    // A row that is neither selected nor under the mouse shows the field colour.
    const QImage listShot = list->viewport()->grab().toImage();
    const QPoint inRow(listShot.width() - 3, list->visualRect(combo.model()->index(1, 0)).center().y());
    ASSERT_TRUE(listShot.rect().contains(inRow));
    const QColor rowColour = listShot.pixelColor(inRow);
    EXPECT_TRUE(Dark(rowColour)) << rowColour.name().toStdString();
    EXPECT_TRUE(Light(list->palette().color(QPalette::Text)));
    combo.hidePopup();

    QLineEdit field;
    field.show();
    const QImage fieldShot = field.grab().toImage();
    EXPECT_TRUE(Dark(fieldShot.pixelColor(fieldShot.width() / 2, fieldShot.height() / 2)));

    for (const QWidget* w : std::initializer_list<const QWidget*>{&box, &combo, list, &field})
        EXPECT_EQ(w->font().family(), ProgramFontFamily()) << w->metaObject()->className();
    // The face the skinned captions ask for is drawn in the same family.
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Arial Unicode MS"))).family(), ProgramFontFamily());
}

} // namespace
} // namespace orvane
