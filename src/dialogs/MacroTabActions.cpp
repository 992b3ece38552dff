// The Macro tab's action rows: adding them with their delay rules, deleting,
// clearing and moving them, and editing their cells in place.
#include <QApplication>
#include <unordered_map>

#include "dialogs/MacroTab.h"
#include "model/KeyTables.h"
#include "services/Language.h"
#include "services/Prompt.h"

namespace orvane {

namespace {

constexpr int kKeyListRows = 20;
constexpr int kDirectionListRows = 6;

QString DirectionText(uint16_t transition) {
    return transition == kActionPress ? QStringLiteral("\u2193") : QStringLiteral("  \u2191");
}

QString KeyNameText(ScanCode code) {
    return QString::fromStdString(GetKeyName(code));
}

QColor GreyText() {
    return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
}

// A typed delay: decimal digits, saturating far above the largest delay.
uint32_t ParseDelay(const QString& text) {
    uint64_t value = 0;
    for (QChar c : text.trimmed()) {
        if (c.unicode() < '0' || c.unicode() > '9') break;
        value = std::min<uint64_t>(value * 10 + (c.unicode() - '0'), UINT32_MAX);
    }
    return static_cast<uint32_t>(value);
}

} // namespace

void CMacroTab::SetRowCells(int row, const QString& keyName) {
    const MacroAction& action = m_rows[static_cast<size_t>(row)];
    m_actions->SetItemText(row, 0, keyName);
    m_actions->SetItemText(row, 1, DirectionText(action.transition));
    m_actions->SetItemText(row, 2, QString::number(action.delay));
}

void CMacroTab::FillRows(const MacroRecord& macro) {
    const size_t count = MacroActionCount(macro);
    m_actions->setUpdatesEnabled(false);
    m_rows.assign(macro.actions.begin(), macro.actions.begin() + static_cast<std::ptrdiff_t>(count));
    // A macro repeats a few keys many times: each name is looked up once.
    std::unordered_map<ScanCode, QString> names;
    for (size_t i = 0; i < count; ++i) {
        auto [name, fresh] = names.try_emplace(m_rows[i].scanCode);
        if (fresh) name->second = KeyNameText(m_rows[i].scanCode);
        SetRowCells(m_actions->InsertItem(static_cast<int>(i)), name->second);
    }
    const QColor grey = GreyText();
    m_actions->SetItemTextColor(-1, 0, ColourToRef(grey), false);
    m_actions->SetItemTextColor(-1, 1, ColourToRef(grey), false);
    m_actions->setUpdatesEnabled(true);
}

bool CMacroTab::AddActionRow(MacroAction action, const ActionRowMode& mode) {
    if (m_rows.size() >= kMacroMaxActions) return false;
    if (mode.recorded && ReadRecordDelayOption() == 0) action.delay = kMacroRecordDelayMs;
    if (action.transition > kActionRelease) action.transition = kActionPress;
    const int selected = m_actions->GetFirstSelectedItem();
    const int row = mode.afterSelection && selected >= 0 ? selected + 1 : static_cast<int>(m_rows.size());
    if (!mode.keepDelay) {
        // A row's delay is the gap after it: the row before takes the new
        // gap and hands its old one on to the new row.
        if (row == 0) {
            action.delay = 0;
        } else {
            MacroAction& previous = m_rows[static_cast<size_t>(row - 1)];
            std::swap(previous.delay, action.delay);
            m_actions->SetItemText(row - 1, 2, QString::number(previous.delay));
        }
    }
    m_rows.insert(m_rows.begin() + row, action);
    m_actions->InsertItem(row);
    SetRowCells(row, KeyNameText(action.scanCode));
    const QColor grey = GreyText();
    for (int column : {0, 1})
        if (QTableWidgetItem* cell = m_actions->item(row, column)) cell->setForeground(grey);
    if (mode.recorded) {
        m_actions->SelectItem(row);
        m_actions->EnsureVisible(row);
    }
    if (mode.markChanged) m_enableApply();
    return true;
}

void CMacroTab::DeleteAction() {
    const int row = m_actions->GetFirstSelectedItem();
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    m_rows.erase(m_rows.begin() + row);
    m_actions->DeleteItem(row, true);
    m_enableApply();
}

void CMacroTab::ClearActions() {
    if (m_rows.empty()) return;
    if (Prompt().MessageBox(Text("MACRO_ACTION_CLEAR_CONFIRM"), "",
                            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    m_actions->DeleteAllItems();
    m_rows.clear();
    m_enableApply();
}

void CMacroTab::MoveAction(int id) {
    const int from = m_actions->GetFirstSelectedItem();
    if (from < 0 || from >= static_cast<int>(m_rows.size())) return;
    int to = kMoveTop;
    switch (id) {
    case 1024:
        to = from - 1;
        break;
    case 1025:
        to = from + 1;
        break;
    case 1026:
        to = kMoveBottom;
        break;
    default:
        break;
    }
    const int moved = m_actions->MoveItem(from, to);
    if (moved < 0) return;
    const MacroAction action = m_rows[static_cast<size_t>(from)];
    m_rows.erase(m_rows.begin() + from);
    m_rows.insert(m_rows.begin() + moved, action);
    m_actions->SelectItem(moved);
    m_actions->EnsureVisible(moved);
    m_actions->setFocus(Qt::OtherFocusReason);
    m_enableApply();
}

int CMacroTab::BeginCellEdit(int row, int column, unsigned* style) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return 0;
    const MacroAction& action = m_rows[static_cast<size_t>(row)];
    switch (column) {
    case 2:
        StopRecording();
        *style |= ES_NUMBER;
        return 1;
    case 0: {
        QStringList keys;
        for (int id = 0; id < kPickableKeyCount; ++id)
            keys << QString::fromStdString(GetKeyIdName(static_cast<uint16_t>(id)));
        const uint16_t keyId = ScanCodeToKeyId(action.scanCode);
        CComboBox4ListCtrl* combo =
            m_actions->OpenDropDown(row, column, keys, keyId < kPickableKeyCount ? keyId : -1);
        combo->setMaxVisibleItems(kKeyListRows);
        return 0;
    }
    case 1: {
        const QStringList directions{DirectionText(kActionPress), DirectionText(kActionRelease)};
        CComboBox4ListCtrl* combo = m_actions->OpenDropDown(row, column, directions, action.transition);
        combo->setMaxVisibleItems(kDirectionListRows);
        return 0;
    }
    default:
        Prompt().MessageBox(Text("MACRO_ACTION_ERR_MODIFY"), "", MB_OK | MB_ICONWARNING);
        m_actions->EndEdit(false);
        return 0;
    }
}

int CMacroTab::ValidateDelay(int row, QString* text) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return 0;
    uint32_t delay = CheckMacroDelay(ParseDelay(*text));
    delay -= delay % kMacroDelayStepMs;
    *text = QString::number(delay);
    m_rows[static_cast<size_t>(row)].delay = delay;
    m_enableApply();
    return 1;
}

int CMacroTab::EndCellEdit(int row, int column, bool keep) {
    if (column == 2) return 1; // the edit box: the list validates and writes the text
    CComboBox4ListCtrl* combo = m_actions->DropDown();
    if (!keep || !combo || row < 0 || row >= static_cast<int>(m_rows.size())) return 0;
    const int choice = combo->currentIndex();
    MacroAction& action = m_rows[static_cast<size_t>(row)];
    if (column == 0 && choice >= 0 && choice < kPickableKeyCount) {
        const ScanCode code = KeyIdToScanCode(static_cast<uint16_t>(choice));
        if (code == action.scanCode) return 0;
        action.scanCode = code;
        m_actions->SetItemText(row, 0, KeyNameText(code));
        m_enableApply();
    } else if (column == 1 && (choice == kActionPress || choice == kActionRelease)) {
        if (choice == action.transition) return 0;
        action.transition = static_cast<uint16_t>(choice);
        m_actions->SetItemText(row, 1, DirectionText(action.transition));
        m_enableApply();
    }
    return 0;
}

} // namespace orvane
