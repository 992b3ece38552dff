#include "dialogs/support/CompositeTestEnv.h"

#include <QLineEdit>

#include "device/DeviceCommands.h"
#include "model/ConfigStore.h"
#include "model/EvdevKeys.h"
#include "services/PathTable.h"
#include "support/TestApp.h"

namespace fs = std::filesystem;

namespace orvane::test {

void CompositeTest::SetUp() {
    orvane::testing::TestApp();
    home_ = std::make_unique<testing::CTempHome>();
    program_ = std::make_unique<testing::CTempDir>();
    fs::create_directory_symlink(std::string(ORVANE_BIN_DIR) + "/Skins", program_->File("Skins"));
    fs::copy_file(std::string(ORVANE_SOURCE_DIR) + "/assets/Lang0409.ini", program_->File("Lang0409.ini"));
    ASSERT_TRUE(BuildPathTable(program_->File("orvane")));
    SetPrompt(&prompt_);
    g_ConfigStore.InstallFresh(ProfileHeader{});
    SetActiveProfileCache(0);
}

void CompositeTest::TearDown() {
    SetPrompt(nullptr);
    SetActiveProfileCache(-1);
    g_ConfigStore.ReleaseWorking();
}

std::unique_ptr<Orvane_DlgComposite> CompositeTest::Open(uint16_t keyIndex, int buttonId, bool macroOnly) {
    auto dialog = std::make_unique<Orvane_DlgComposite>(&window_.parent);
    dialog->SetTarget(&window_, buttonId, keyIndex, macroOnly);
    EXPECT_TRUE(dialog->OnInitDialog());
    dialog->show();
    dialog->activateWindow();
    QApplication::processEvents();
    return dialog;
}

bool CompositeTest::Key(Orvane_DlgComposite& dialog, QEvent::Type type, int evdev, bool repeat, int qtKey) {
    // Counts what reaches the dialog itself: filters on the object run after
    // the application-wide ones.
    struct CArrived : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) ++count;
            return false;
        }
    } arrived;
    QWidget* target = QWidget::keyboardGrabber();
    if (!target) target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
    target->installEventFilter(&arrived);
    QKeyEvent event(type, qtKey ? qtKey : Qt::Key_unknown, Qt::NoModifier,
                    static_cast<quint32>(evdev) + kXkbKeycodeOffset, 0, 0, QString(), repeat);
    QApplication::sendEvent(target, &event);
    target->removeEventFilter(&arrived);
    return arrived.count == 0;
}

QString CompositeTest::EditText(Orvane_DlgComposite& dialog) {
    return static_cast<QLineEdit*>(dialog.Control(1127))->text();
}

} // namespace orvane::test
