// The link control and the colour picker.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QFrame>
#include <QGridLayout>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

#include "support/RecordingPrompt.h"
#include "support/TestApp.h"
#include "ui/ColorStatic.h"
#include "ui/HyperLink.h"
#include "ui/PngButton.h"
#include "ui/SkinColorBtn.h"
#include "ui/support/UiTestSupport.h"

namespace orvane {
namespace {

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override { SetPrompt(&prompt); }
    void TearDown() override { SetPrompt(nullptr); }
    void MoveOver(QWidget* w) {
        QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

    QApplication& app = orvane::testing::TestApp(); // before any widget
    testing::CRecordingPrompt prompt;
    test::CRecordingParent dialog;
};

TEST_F(ControlsTest, LinkWithoutUrlOpensItsTextAndRemembersTheVisit) {
    CHyperLink link(&dialog, 1124);
    link.setText("https://example.org/about");
    link.Attach();
    EXPECT_EQ(link.URL(), "https://example.org/about");
    std::vector<QString> opened;
    link.SetOpener([&](const QString& url) {
        opened.push_back(url);
        return kLinkOpened;
    });
    EXPECT_EQ(link.CurrentColour(), CHyperLink::kLinkColour);

    MoveOver(&link);
    EXPECT_TRUE(link.IsOver());
    EXPECT_EQ(link.CurrentColour(), CHyperLink::kHoverColour);
    EXPECT_TRUE(link.font().underline());
    QTest::mouseClick(&link, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "https://example.org/about");
    EXPECT_TRUE(link.IsVisited());
    EXPECT_EQ(link.CurrentColour(), CHyperLink::kVisitedColour);
    // While the pointer rests on it the hover colour wins; visited stays.
    MoveOver(&link);
    EXPECT_EQ(link.CurrentColour(), CHyperLink::kHoverColour);
    EXPECT_TRUE(link.IsVisited());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ControlsTest, LinkWithoutTextShowsItsUrlAndReportsFailures) {
    CHyperLink link(&dialog);
    link.SetURL("https://example.org/");
    link.Attach();
    EXPECT_EQ(link.text(), "https://example.org/");
    EXPECT_EQ(link.toolTip(), "https://example.org/");
    link.SetOpener([](const QString&) { return 2; });
    link.Open();
    EXPECT_FALSE(link.IsVisited());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0], "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_EQ(HyperLinkErrorText(77), "Unknown Error (77) occurred.");
    EXPECT_EQ(HyperLinkErrorText(0), "The operating system is out\nof memory or resources.");
}

TEST_F(ControlsTest, ColourPickerPaletteAndOtherColour) {
    CSkinColorBtn picker(&dialog, 1155);
    picker.resize(80, 28);
    picker.SetColumnsNumber(10);
    picker.SetCustomText("other");
    picker.SetDefaultColor(0x123456);
    EXPECT_EQ(picker.GetColor(), 0x123456u); // nothing chosen: the automatic colour

    picker.ShowPalette();
    ASSERT_NE(picker.Palette(), nullptr);
    auto* grid = picker.Palette()->findChild<QGridLayout*>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->columnCount(), 10);
    // Cell 10 starts the second row.
    auto* cell = picker.Palette()->findChild<QToolButton*>("colour10");
    ASSERT_NE(cell, nullptr);
    int row = -1, column = -1, rs, cs;
    grid->getItemPosition(grid->indexOf(cell), &row, &column, &rs, &cs);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(column, 0);
    cell->click();
    EXPECT_EQ(picker.GetColor(), CSkinColorBtn::PaletteColours()[10]);
    EXPECT_EQ(picker.Palette(), nullptr);

    // "other" asks through the prompt; a cancelled dialog keeps the colour.
    prompt.colour = std::nullopt;
    picker.ChooseOther();
    EXPECT_EQ(picker.GetColor(), CSkinColorBtn::PaletteColours()[10]);
    EXPECT_EQ(prompt.colourAskedWith, CSkinColorBtn::PaletteColours()[10]);
    prompt.colour = 0x00FF00;
    picker.ChooseOther();
    EXPECT_EQ(picker.GetColor(), 0x00FF00u);
    // Each choice reaches the window once, the cancelled one not at all.
    dialog.Drain();
    ASSERT_EQ(dialog.messages.size(), 2u);
    EXPECT_EQ(dialog.messages[1].message, UM_COLOUR_CHOSEN);
    EXPECT_EQ(dialog.messages[1].wParam, 1155u);
    EXPECT_EQ(dialog.messages[1].lParam, 0x00FF00);
}

// The pixel of the link's text colour found in its picture, if any.
bool Shows(const QImage& img, const QColor& colour) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == colour) return true;
    return false;
}

TEST_F(ControlsTest, LinkIsPaintedInItsLinkHoverAndVisitedColours) {
    CHyperLink link(&dialog);
    QFont big = link.font();
    big.setPixelSize(20);
    link.setFont(big);
    link.setText("https://example.org/");
    link.Attach();
    link.SetOpener([](const QString&) { return kLinkOpened; });
    const QColor linkColour = ColourFromRef(CHyperLink::kLinkColour);
    const QColor hoverColour = ColourFromRef(CHyperLink::kHoverColour);
    const QColor visitedColour = ColourFromRef(CHyperLink::kVisitedColour);
    QImage img = link.grab().toImage();
    EXPECT_TRUE(Shows(img, linkColour));
    EXPECT_FALSE(Shows(img, QColor(Qt::black))); // never the button-text colour
    MoveOver(&link);
    img = link.grab().toImage();
    EXPECT_TRUE(Shows(img, hoverColour));
    EXPECT_FALSE(Shows(img, linkColour));
    // Leaving is noticed from the leave event alone.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    EXPECT_FALSE(link.IsOver());
    EXPECT_FALSE(link.font().underline());
    link.Open();
    img = link.grab().toImage();
    EXPECT_TRUE(Shows(img, visitedColour));
    EXPECT_FALSE(Shows(img, hoverColour));
}

TEST_F(ControlsTest, LinkOpensOncePerDoubleClickAndOnSpace) {
    CHyperLink link(&dialog);
    link.setText("https://example.org/");
    link.Attach();
    int opened = 0;
    link.SetOpener([&](const QString&) { return ++opened, kLinkOpened; });
    // The order Qt delivers a double click in: press, release, double-click, release.
    QTest::mousePress(&link, Qt::LeftButton);
    QTest::mouseRelease(&link, Qt::LeftButton);
    QTest::mouseDClick(&link, Qt::LeftButton);
    QTest::mouseRelease(&link, Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    QTest::keyClick(&link, Qt::Key_Space);
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(link.focusPolicy() & Qt::TabFocus);
}

TEST_F(ControlsTest, LinkFitsItsTextKeepingItsAlignedEdgeAndTheTopUnlessCentred) {
    CHyperLink right(&dialog), plain(&dialog), centred(&dialog);
    right.setAlignment(Qt::AlignRight | Qt::AlignTop);
    centred.SetCentreImage(true);
    for (CHyperLink* link : {&right, &plain, &centred}) {
        link->setGeometry(100, 20, 300, 60); // a label centres vertically by default
        link->setText("x");
        link->Attach();
    }
    EXPECT_EQ(right.geometry().right(), 399);
    EXPECT_LT(right.width(), 300);
    EXPECT_EQ(right.y(), 20);
    EXPECT_EQ(plain.y(), 20);
    EXPECT_EQ(centred.geometry().center().y(), QRect(100, 20, 300, 60).center().y());
}

TEST_F(ControlsTest, ColourPickerFaceNormalHotAndDisabled) {
    CSkinColorBtn picker(&dialog);
    picker.resize(80, 28);
    picker.SetColor(0xFF0000); // blue as 0x00BBGGRR
    const QImage normal = picker.grab().toImage();
    EXPECT_EQ(normal.pixelColor(20, 14), QColor(0, 0, 255));       // swatch
    EXPECT_EQ(normal.pixelColor(60, 6), QColor(0x94, 0x92, 0x8B)); // the box colour
    EXPECT_EQ(normal.pixelColor(72, 13), QColor(Qt::black));       // the arrow
    QEnterEvent enter(QPointF(60, 10), QPointF(60, 10), QPointF(60, 10));
    QApplication::sendEvent(&picker, &enter);
    EXPECT_NE(picker.grab().toImage().pixelColor(60, 6), normal.pixelColor(60, 6));
    picker.setEnabled(false);
    const QImage disabled = picker.grab().toImage();
    EXPECT_NE(disabled.pixelColor(20, 14), QColor(0, 0, 255)); // no fill while disabled
    EXPECT_NE(disabled.pixelColor(60, 6), normal.pixelColor(60, 6));
    EXPECT_NE(disabled.pixelColor(72, 13), normal.pixelColor(72, 13)); // the arrow greys too
}

TEST(ColorStaticTest, DefaultTextIsReadableOnTheDarkSkin) {
    orvane::testing::TestApp();
    ColorStatic label;
    EXPECT_EQ(label.TextColor(), 0xFFFFFFu);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::white));
}

} // namespace
} // namespace orvane
