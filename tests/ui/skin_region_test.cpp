// Window outlines from mask pictures, and the skinned dialog base built on them.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "services/Prompt.h"
#include "support/TestApp.h"
#include "ui/BaseDialog.h"
#include "ui/SkinImage.h"

namespace orvane {
namespace {

// Regions compare by the area they cover, not by how it is cut into rectangles.
bool SameArea(const QRegion& a, const QRegion& b) {
    return a.xored(b).isEmpty();
}

QRegion RunByRun(const QImage& img) {
    QRegion r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) r += QRect(x, y, 1, 1);
    return r;
}

TEST(BitmapToRegion, WhiteIsOutsideNearWhiteIsInside) {
    QImage img(4, 2, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixel(1, 0, qRgb(0xFF, 0xFF, 0xFE)); // 0xFEFFFF as 0x00BBGGRR: blue one below white
    img.setPixel(2, 1, qRgb(0xFE, 0xFF, 0xFF));
    const QRegion r = BitmapToRegion(img, 0xFFFFFF, 0);
    EXPECT_TRUE(SameArea(r, QRegion(QRect(1, 0, 1, 1)) + QRegion(QRect(2, 1, 1, 1))));

    // A tolerance widens the transparent range per channel, capped at 255.
    QImage grey(3, 1, QImage::Format_RGB32);
    grey.setPixel(0, 0, qRgb(0x10, 0x20, 0x30));
    grey.setPixel(1, 0, qRgb(0x15, 0x20, 0x30));
    grey.setPixel(2, 0, qRgb(0x10, 0x26, 0x30));
    // transparent 0x302010 (r=0x10, g=0x20, b=0x30), tolerance r+5, g+5.
    EXPECT_TRUE(SameArea(BitmapToRegion(grey, 0x302010, 0x000505), QRegion(QRect(2, 0, 1, 1))));
}

TEST(BitmapToRegion, ManyRunsMatchRunByRunUnion) {
    // A checkerboard of 100 x 60 holds 3000 runs, more than one batch.
    QImage img(100, 60, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, ((x + y) % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QRegion r = BitmapToRegion(img, 0xFFFFFF, 0);
    EXPECT_TRUE(SameArea(r, RunByRun(img)));
    EXPECT_EQ(r.rectCount(), 3000);

    // Rows that repeat the runs above make taller rectangles, not more: a
    // block with a second block beside it in its middle rows is 4 of them.
    QImage blocks(100, 60, QImage::Format_RGB32);
    blocks.fill(Qt::white);
    QPainter(&blocks).fillRect(10, 5, 40, 41, Qt::black);
    QPainter(&blocks).fillRect(70, 20, 20, 11, Qt::black);
    const QRegion b = BitmapToRegion(blocks, 0xFFFFFF, 0);
    EXPECT_TRUE(SameArea(b, RunByRun(blocks)));
    EXPECT_EQ(b.rectCount(), 4);

    QImage none(50, 50, QImage::Format_RGB32);
    none.fill(Qt::white);
    EXPECT_TRUE(BitmapToRegion(none, 0xFFFFFF, 0).isEmpty());
    EXPECT_TRUE(BitmapToRegion(QImage(), 0xFFFFFF, 0).isEmpty());
}

// What a button cut from a face shows: the picture on a black field 100
// pixels beyond the client, drawn through a fully padded copy (the reference)
// and through the face, which stores no more than the picture.
QImage Cut(const std::function<void(QPainter&)>& draw) {
    QImage out(30, 30, QImage::Format_RGB32);
    out.fill(Qt::red); // what lay beneath: must stay where nothing is drawn
    QPainter painter(&out);
    draw(painter);
    return out;
}

TEST(RenderImageToDC, FaceStoresOnlyThePictureAndDrawsAsAPaddedOne) {
    orvane::testing::TestApp();
    const QSize client(120, 80);
    QImage opaque(150, 100, QImage::Format_RGB32);
    QImage big(300, 200, QImage::Format_RGB32);
    QImage seeThrough(150, 100, QImage::Format_ARGB32);
    for (QImage* img : {&opaque, &big, &seeThrough})
        for (int y = 0; y < img->height(); ++y)
            for (int x = 0; x < img->width(); ++x)
                img->setPixel(x, y, qRgba(x, y, (x * y) & 0xFF, (x + y) & 0xFF));
    const QRect sources[] = {{10, 10, 30, 30},   {140, 90, 30, 30}, {-1, -1, 30, 30},
                             {205, 165, 30, 30}, {130, 10, 30, 30}, {290, 190, 30, 30}};
    for (const QImage* img : {&opaque, &big, &seeThrough}) {
        QPixmap padded(client + QSize(100, 100));
        padded.fill(Qt::black);
        QPainter(&padded).drawImage(QPoint(0, 0), *img);
        CSkinFace face;
        RenderImageToDC(face, *img, client);
        ASSERT_FALSE(face.IsEmpty());
        EXPECT_EQ(face.Pixmap().size(), img->size().boundedTo(padded.size()));
        for (const QRect& source : sources) {
            const QImage want = Cut([&](QPainter& p) { p.drawPixmap(QPoint(0, 0), padded, source); });
            const QImage got = Cut([&](QPainter& p) { face.Draw(p, QPoint(0, 0), source); });
            EXPECT_EQ(got, want) << img->width() << " at " << source.x() << "," << source.y();
        }
    }

    CSkinFace face;
    RenderImageToDC(face, QImage(), client);
    EXPECT_TRUE(face.IsEmpty());
    // A missing file still gives an image object, holding nothing.
    auto missing = LoadSkinImageFrom("/nonexistent/", "Skins/none.jpg");
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->isNull());
}

class BaseDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        orvane::testing::TestApp();
        ASSERT_TRUE(dir.isValid());
        folder = dir.path().toStdString() + "/";
        QImage bg(200, 120, QImage::Format_RGB32);
        bg.fill(qRgb(30, 30, 30));
        // The outline: a white band at the top is outside the window.
        QPainter(&bg).fillRect(0, 0, 200, 10, Qt::white);
        ASSERT_TRUE(bg.save(dir.filePath("bg.bmp")));
        QImage mask(200, 120, QImage::Format_RGB32);
        mask.fill(Qt::white);
        QPainter(&mask).fillRect(QRect(20, 20, 100, 50), Qt::black);
        ASSERT_TRUE(mask.save(dir.filePath("mask.bmp")));
    }
    std::string WriteSkin(const std::string& body) {
        const std::string path = folder + "Test.ini";
        std::ofstream(path) << "[SCREEN]\n" << body;
        return path;
    }
    QTemporaryDir dir;
    std::string folder;
};

TEST_F(BaseDialogTest, SizeAndOutlineFromTheSkin) {
    CBaseDialog withMask(nullptr, WriteSkin("Main=bg.bmp\nMask=mask.bmp\n"), folder);
    ASSERT_TRUE(withMask.OnInitDialog());
    EXPECT_EQ(withMask.size(), QSize(200, 120));
    EXPECT_TRUE(SameArea(withMask.Outline(), QRegion(QRect(20, 20, 100, 50))));
    EXPECT_FALSE(withMask.IsLoadingSkin());

    // Without "Mask" the background itself gives the outline.
    CBaseDialog noMask(nullptr, WriteSkin("Main=bg.bmp\n"), folder);
    noMask.OnInitDialog();
    EXPECT_TRUE(SameArea(noMask.Outline(), QRegion(QRect(0, 10, 200, 110))));

    // Ending the dialog lets its pictures go.
    noMask.OnCancel();
    EXPECT_TRUE(noMask.Background().isNull());
}

TEST_F(BaseDialogTest, MissingOrBrokenPictureEndsWithErrorAndNonZeroExit) {
    // The Qt application runs threads of its own; re-run the binary for the child.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::ofstream(folder + "broken.jpg") << "\xFF\xD8 not really a jpeg";
    for (const auto& [body, named] : {std::pair{"Main=bg.bmp\nMask=nothere.bmp\n", "nothere\\.bmp"},
                                      std::pair{"Main=broken.jpg\n", "broken\\.jpg"}}) {
        const std::string skin = WriteSkin(body);
        EXPECT_EXIT(
            {
                CBaseDialog d(nullptr, skin, folder);
                d.OnInitDialog();
                std::exit(0);
            },
            ::testing::ExitedWithCode(kFatalPictureExit), named);
    }
}

// A dialog that counts the controls it makes, the way derived dialogs make theirs.
class CCountingDialog : public CBaseDialog {
  public:
    using CBaseDialog::CBaseDialog;
    int made = 0;
    bool OnInitDialog() override {
        CBaseDialog::OnInitDialog();
        if (IsFirstInit()) ++made;
        return true;
    }
};

TEST_F(BaseDialogTest, ModalResultsAreThePromptCodesAndInitialisationMakesThingsOnce) {
    CCountingDialog d(nullptr, WriteSkin("Main=bg.bmp\n"), folder);
    QTimer::singleShot(0, &d, [&] { d.OnOK(); });
    EXPECT_EQ(d.DoModal(), IDOK);
    QTimer::singleShot(0, &d, [&] { d.OnCancel(); });
    EXPECT_EQ(d.DoModal(), IDCANCEL);
    QTimer::singleShot(0, &d, [&] { d.reject(); }); // the window manager's close
    EXPECT_EQ(d.DoModal(), IDCANCEL);
    EXPECT_EQ(d.made, 1);
    EXPECT_EQ(d.size(), QSize(200, 120)); // the skin is applied at every run
}

TEST_F(BaseDialogTest, DraggedByAnyPoint) {
    CBaseDialog d(nullptr, WriteSkin("Main=bg.bmp\nMask=mask.bmp\n"), folder);
    d.OnInitDialog();
    d.move(100, 100);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    const QPoint start = d.pos();
    const QPoint grab(60, 40);
    auto moveTo = [&](QPoint by, Qt::MouseButtons held) {
        QMouseEvent move(QEvent::MouseMove, QPointF(grab + by), d.mapToGlobal(QPointF(grab + by)),
                         Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(&d, &move);
    };
    QTest::mousePress(&d, Qt::LeftButton, Qt::NoModifier, grab);
    moveTo({30, 25}, Qt::LeftButton);
    QTest::mouseRelease(&d, Qt::LeftButton, Qt::NoModifier, grab + QPoint(30, 25));
    EXPECT_EQ(d.pos(), start + QPoint(30, 25));

    // A press alone, or with a tremble, is no drag yet; a quick click never
    // becomes one: the window stays put as the pointer moves on.
    const QPoint clicked = d.pos();
    QTest::mousePress(&d, Qt::LeftButton, Qt::NoModifier, grab);
    moveTo({1, 0}, Qt::LeftButton);
    EXPECT_EQ(d.pos(), clicked);
    QTest::mouseRelease(&d, Qt::LeftButton, Qt::NoModifier, grab);
    moveTo({50, 50}, Qt::NoButton);
    EXPECT_EQ(d.pos(), clicked);
}

} // namespace
} // namespace orvane
