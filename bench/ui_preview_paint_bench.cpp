// One preview tick on the keyboard picture: about 115 key buttons change
// their mark at once, then the window paints. Paints are merged by Qt, so a
// tick costs one window paint, not 115.
#include <benchmark/benchmark.h>
#include <memory>
#include <QApplication>
#include <QImage>
#include <vector>

#include "ui/PngButton.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

void BM_PreviewTickOf115Keys(benchmark::State& state) {
    App();
    QImage picture(1000, 400, QImage::Format_RGB32);
    picture.fill(Qt::darkGray);
    orvane::CSkinFace unlit(QPixmap::fromImage(picture));
    picture.fill(Qt::darkYellow);
    orvane::CSkinFace lit(QPixmap::fromImage(picture));
    QWidget window;
    window.resize(1000, 400);
    std::vector<orvane::CPngButton*> keys;
    for (int i = 0; i < 115; ++i) {
        auto* key = new orvane::CPngButton(&window, 1000 + i);
        key->setGeometry(10 + (i % 23) * 42, 10 + (i / 23) * 42, 38, 38);
        keys.push_back(key);
    }
    window.show();
    QCoreApplication::processEvents();
    bool mark = false;
    for (auto _ : state) {
        mark = !mark;
        for (auto* key : keys)
            key->SetMarkPictures(&unlit, &lit, true, mark, true);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_PreviewTickOf115Keys)->Unit(benchmark::kMicrosecond);

} // namespace
