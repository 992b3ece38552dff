// A stand-in for the main window's keyboard picture, for the end-to-end test
// of the key-assignment dialog: four key buttons, Apply, and a text field,
// over the simulated keyboard with its wire trace. It writes what it shows
// (button and control rectangles, what an opened dialog shows, what Apply
// did, what the text field received) to a status file, one line per event.
//
// Usage: composite_host <program folder> <trace file> <status file>
#include <cstdio>
#include <fstream>
#include <map>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QVBoxLayout>

#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/ReportExchange.h"
#include "dialogs/CompositeWindow.h"
#include "dialogs/DlgComposite.h"
#include "dialogs/OpenComposite.h"
#include "model/KeyTables.h"
#include "model/KeyTooltip.h"
#include "services/PathTable.h"
#include "sim/SimInstall.h"
#include "transfer/ActiveProfile.h"
#include "transfer/Apply.h"
#include "transfer/DeviceInfo.h"
#include "transfer/KeyboardBackup.h"
#include "transfer/TransferHost.h"

using namespace orvane;

namespace {

constexpr ScanCode kKeys[] = {0x1E, 0x1F, 0x20, 0x21}; // A S D F

class CStatus {
  public:
    explicit CStatus(const std::string& path) : m_out(path, std::ios::app) {}
    void Line(const std::string& line) {
        m_out << line << "\n";
        m_out.flush();
    }
    static std::string Rect(const QRect& r) {
        return std::to_string(r.x()) + " " + std::to_string(r.y()) + " " + std::to_string(r.width()) + " " +
               std::to_string(r.height());
    }

  private:
    std::ofstream m_out;
};

QRect GlobalRect(const QWidget* w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

class CHostWindow final : public QWidget, public CCompositeWindow, private CKeyButtonView {
  public:
    explicit CHostWindow(CStatus& status) : m_status(status) {
        setWindowTitle(QStringLiteral("composite host"));
        auto* layout = new QVBoxLayout(this);
        for (ScanCode code : kKeys) {
            const KeySlot* slot = KeySlotAt(KeySlotOfScanCode(code));
            auto* button = new QPushButton(QString::fromStdString(GetKeyName(code)), this);
            button->setFocusPolicy(Qt::NoFocus);
            const int id = slot->controlId;
            m_buttons[id] = button;
            connect(button, &QPushButton::clicked, this, [this, id] { OpenCompositeForButton(*this, id); });
            layout->addWidget(button);
        }
        m_apply = new QPushButton(QStringLiteral("Apply"), this);
        m_apply->setFocusPolicy(Qt::NoFocus);
        connect(m_apply, &QPushButton::clicked, this, [this] {
            const ApplyOutcome outcome = Apply();
            m_status.Line("applied " + std::to_string(outcome.saved) + " " + std::to_string(outcome.sent));
        });
        layout->addWidget(m_apply);
        m_notes = new QLineEdit(this);
        connect(m_notes, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_status.Line("typed " + text.toStdString()); });
        layout->addWidget(m_notes);
        resize(240, 260);
    }

    void Report() {
        for (const auto& [id, button] : m_buttons)
            m_status.Line("button " + std::to_string(id) + " " + CStatus::Rect(GlobalRect(button)));
        m_status.Line("apply " + CStatus::Rect(GlobalRect(m_apply)));
        m_status.Line("notes " + CStatus::Rect(GlobalRect(m_notes)));
        m_notes->setFocus();
        m_status.Line("ready");
    }

    // CCompositeWindow
    QWidget* DialogParent() override { return this; }
    QRect ButtonScreenRect(int buttonId) override {
        auto it = m_buttons.find(buttonId);
        return it == m_buttons.end() ? QRect() : GlobalRect(it->second);
    }
    void SetButtonEditing(int buttonId, bool editing) override {
        m_status.Line("editing " + std::to_string(buttonId) + " " + (editing ? "1" : "0"));
    }
    CKeyButtonView& KeyButtons() override { return *this; }

  private:
    bool GKeyBankSet() const override { return false; }
    void SetKeyButtonTooltip(int controlId, const std::string& text, bool) override {
        if (auto it = m_buttons.find(controlId); it != m_buttons.end())
            it->second->setToolTip(QString::fromStdString(text));
    }
    void MarkConfigurationChanged() override { TransferHost().SetApplyPending(true); }

    CStatus& m_status;
    std::map<int, QPushButton*> m_buttons;
    QPushButton* m_apply;
    QLineEdit* m_notes;
};

// Reports an opened dialog once it is on screen, and its closing.
class CDialogWatch final : public QObject {
  public:
    explicit CDialogWatch(CStatus& status) : m_status(status) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<Orvane_DlgComposite*>(watched);
        if (!dialog) return false;
        if (event->type() == QEvent::Show)
            QTimer::singleShot(300, dialog, [this, dialog] { Describe(*dialog); });
        else if (event->type() == QEvent::Hide)
            m_status.Line(std::string("closed ") + (QWidget::keyboardGrabber() ? "grabbed" : "free"));
        return false;
    }

  private:
    void Describe(Orvane_DlgComposite& d) {
        auto combo = [&](int id) {
            return std::to_string(static_cast<QComboBox*>(d.Control(id))->currentIndex());
        };
        m_status.Line("dialog " + CStatus::Rect(d.frameGeometry()) + " key " + std::to_string(d.KeyIndex()) +
                      " tab " + std::to_string(d.TabKind()) + " mouse " + combo(1187) + " media " +
                      combo(1128) + " function " + combo(1129) + " grabbed " +
                      (QWidget::keyboardGrabber() == &d ? "1" : "0"));
        auto* edit = static_cast<QLineEdit*>(d.Control(1127));
        m_status.Line("edit " + edit->text().toStdString());
        if (!m_watched.contains(edit)) {
            m_watched.insert(edit);
            connect(edit, &QLineEdit::textChanged, this,
                    [this](const QString& text) { m_status.Line("captured " + text.toStdString()); });
        }
        for (int id : {1, 2, 1028, 1029, 1030, 1031, 1185, 1186, 1187, 1204, 1128, 1129, 1017, 1020, 1125})
            m_status.Line("control " + std::to_string(id) + " " + CStatus::Rect(GlobalRect(d.Control(id))));
        m_status.Line("described");
    }

    CStatus& m_status;
    QSet<QLineEdit*> m_watched;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: composite_host <program folder> <trace file> <status file>\n");
        return 2;
    }
    QApplication app(argc, argv);
    const std::string folder = argv[1];
    if (!BuildPathTable(folder + "/orvane")) return 1;
    BuildUserPaths();
    CStatus status(argv[3]);

    CSimKeyboard& sim = InstallSimulatedKeyboard(128);
    if (!sim.SetTraceFile(argv[2])) return 1;
    if (!OpenCommandInterface(g_HidDevice)) return 1;
    g_DeviceOpen.store(1); // stands in for the connection monitor
    ReadConnectionInfo();
    LoadKeyboardProfile(UnsentChanges::Keep);
    status.Line("profile " + std::to_string(GetActiveProfile()));

    CHostWindow window(status);
    CDialogWatch watch(status);
    app.installEventFilter(&watch);
    // Top left, so the dialog has room to open right-below a key.
    window.move(40, 40);
    window.show();
    QTimer::singleShot(500, &window, [&] { window.Report(); });
    return app.exec();
}
