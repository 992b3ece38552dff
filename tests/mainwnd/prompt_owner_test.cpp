// Every question the program asks stays over the window it belongs to: the
// main window, or the dialog open at the time.
#include <functional>
#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWindow>
#include <utility>
#include <vector>

#include "mainwnd/QtPrompt.h"
#include "support/TestApp.h"

namespace orvane {
namespace {

TEST(QtPrompt, EveryDialogIsTransientForTheWindowOpenAtTheTime) {
    orvane::testing::TestApp();
    CQtPrompt prompt;
    const std::vector<std::pair<const char*, std::function<void()>>> asks = {
        {"message box", [&] { prompt.MessageBox("Sure?", "Orvane", MB_YESNO); }},
        {"open", [&] { prompt.OpenFileName("All files|*.*|", "", "/tmp/*.fwc"); }},
        {"save", [&] { prompt.SaveFileName("All files|*.*|", "fwc", "/tmp/a.fwc"); }},
        {"colour", [&] { prompt.ChooseColour(0x123456); }},
    };
    QDialog main;
    main.show();
    QDialog editor(&main);
    editor.setModal(true);
    for (const auto& [name, ask] : asks)
        for (QDialog* owner : {&main, &editor}) {
            if (owner == &editor) editor.show();
            QWindow* transientFor = nullptr;
            QTimer::singleShot(0, [&] {
                auto* asked = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!asked || asked == owner) return;
                transientFor = asked->windowHandle()->transientParent();
                asked->reject();
            });
            ask();
            EXPECT_EQ(transientFor, owner->windowHandle())
                << name << (owner == &editor ? " over a dialog" : "");
            editor.hide();
        }
}

} // namespace
} // namespace orvane
