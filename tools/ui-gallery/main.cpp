// Every skinned control in each of its states, on the shipped skin pictures.
//   ui-gallery <program folder> <output folder>   draws them into gallery.png
//   ui-gallery --show <program folder> [trace]    shows them as a window; with
//       a trace file, appends "focus NAME" at each focus change and
//       "click NAME" at each button click (NAME: the accessible name)
#include <cstdio>
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>

#include "Gallery.h"
#include "ui/HyperLink.h"

using namespace orvane;

namespace {

QString NameOf(QWidget* w) {
    QAccessibleInterface* a = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
    return a ? a->text(QAccessible::Name) : QString();
}

void Trace(const QString& path, const QString& line) {
    QFile f(path);
    if (f.open(QIODevice::Append | QIODevice::Text)) f.write((line + '\n').toUtf8());
}

QString Folder(const char* arg) {
    QString folder = QString::fromLocal8Bit(arg);
    return folder.endsWith('/') ? folder : folder + '/';
}

int Show(QApplication& app, const QString& program, const QString& trace) {
    auto gallery = CGallery::Build(program);
    if (!gallery) {
        std::fprintf(stderr, "ui-gallery: no skin pictures under %s\n", qPrintable(program));
        return 1;
    }
    if (!trace.isEmpty()) {
        QObject::connect(&app, &QApplication::focusChanged, &app,
                         [trace](QWidget*, QWidget* now) { Trace(trace, "focus " + NameOf(now)); });
        for (auto* b : gallery->Window()->findChildren<QAbstractButton*>())
            QObject::connect(b, &QAbstractButton::clicked, b,
                             [trace, b] { Trace(trace, "click " + NameOf(b)); });
    }
    // Taller than many screens: a scroll area, which Tab scrolls to the focused control.
    QScrollArea view;
    view.setWindowTitle(gallery->Window()->windowTitle());
    view.setFrameShape(QFrame::NoFrame);
    view.setWidget(gallery->Window());
    const QSize screen = view.screen()->availableSize();
    view.resize(std::min(gallery->Window()->width() + 20, screen.width()),
                std::min(gallery->Window()->height() + 2, screen.height() - 40));
    view.show();
    const int result = app.exec();
    view.takeWidget(); // the gallery owns its window
    return result;
}

int Draw(const QString& program, const QString& out) {
    QDir().mkpath(out);
    auto gallery = CGallery::Build(program);
    if (!gallery) {
        std::fprintf(stderr, "ui-gallery: no skin pictures under %s\n", qPrintable(program));
        return 1;
    }
    QWidget* canvas = gallery->Window();
    canvas->show();
    gallery->OpenCellEdit();
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    if (CHyperLink* hovered = canvas->findChildren<CHyperLink*>().value(1)) {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), hovered->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(hovered, &move);
    }
    const QString path = out + "/gallery.png";
    if (!canvas->grab().save(path)) {
        std::fprintf(stderr, "ui-gallery: cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool show = argc >= 3 && QByteArray(argv[1]) == "--show";
    if (!show && qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (show && argc <= 4)
        return Show(app, Folder(argv[2]), argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString());
    if (argc != 3) {
        std::fprintf(stderr, "usage: ui-gallery <program folder> <output folder>\n"
                             "       ui-gallery --show <program folder> [trace file]\n");
        return 2;
    }
    return Draw(Folder(argv[1]), QString::fromLocal8Bit(argv[2]));
}
