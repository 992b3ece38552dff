#include "dialogs/DlgComposite.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "dialogs/CompositePlacement.h"
#include "dialogs/CompositeWindow.h"
#include "dialogs/OnScreenKeyboard.h"
#include "dialogs/SwayPlacement.h"
#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "services/Language.h"
#include "services/PathTable.h"
#include "services/Prompt.h"
#include "services/WindowMessages.h"
#include "transfer/ActiveProfile.h"
#include "ui/ControlMessages.h"
#include "ui/DesktopOpen.h"
#include "ui/SkinTargets.h"

namespace orvane {

namespace {

// Kinds this dialog offers; a record of another kind (program, stop-macro,
// text) is shown on the Key tab and left as it is until the user picks
// something.
bool IsOfferedKind(uint16_t kind) {
    return kind == TAB_CLEARED || kind == TAB_DISABLED || kind == TAB_KEY || kind == TAB_MACRO ||
           kind == TAB_MEDIA || kind == TAB_FUNCTION;
}

bool IsKeyTabKind(uint16_t kind) {
    return kind != TAB_MACRO && kind != TAB_MEDIA && kind != TAB_FUNCTION;
}

CompositeImageSet MaskSet(uint16_t kind) {
    switch (kind) {
    case TAB_MACRO:
        return SET_MACRO;
    case TAB_MEDIA:
        return SET_MEDIA;
    case TAB_FUNCTION:
        return SET_FUNCTION;
    default:
        return SET_KEY;
    }
}

void SetFaces(CPngButton& button, const SkinFaceSet& faces, bool redraw) {
    button.SetPictures(faces[FACE_NORMAL], faces[FACE_HOVER], faces[FACE_PRESSED], faces[FACE_DISABLED],
                       faces[FACE_CHECKED], redraw);
}

int MouseRowOfCode(int code) {
    for (int row = 0; row < kMouseRowCount; ++row)
        if (kMouseRowCodes[row] == code) return row;
    return -1;
}

} // namespace

Orvane_DlgComposite::Orvane_DlgComposite(QWidget* parent)
    : CBaseDialog(parent, Paths().CompositeSkinFile, Paths().CompositeSkinFolder), m_bridge(this),
      m_capture(
          this, [this] { return m_kb->isChecked(); }, [this](ScanCode code) { TakeCapturedKey(code); }),
      m_macroTab(this, [this] { EnableApply(true); }) {
    CreateControls();
    m_bridge.OnTaggedMessage(UM_LANG, TAG_LANG, [this](intptr_t languageIndex) {
        ApplyTexts(static_cast<int>(languageIndex));
        return intptr_t(1);
    });
}

Orvane_DlgComposite::~Orvane_DlgComposite() = default;

void Orvane_DlgComposite::SetTarget(CCompositeWindow* window, int buttonId, uint16_t keyIndex,
                                    bool macroOnly) {
    m_window = window;
    m_buttonId = buttonId;
    m_keyIndex = keyIndex;
    m_macroOnly = macroOnly ? 1 : 0;
}

QWidget* Orvane_DlgComposite::Control(int id) const {
    for (QWidget* child : findChildren<QWidget*>())
        if (ControlIdOf(child) == id) return child;
    return nullptr;
}

CPngButton* Orvane_DlgComposite::Button(int id) const {
    return qobject_cast<CPngButton*>(Control(id));
}

bool Orvane_DlgComposite::OnInitDialog() {
    CBaseDialog::OnInitDialog();
    m_openScope.emplace();
    m_macroTab.SetUp();
    if (!m_images.Loaded()) m_images.Load(size());
    LayoutControls();
    CreateFonts();
    m_osk->SetTooltipText(QString::fromStdString(Text("COMPOSITE_PROMPT_OSK")), true);
    FillLists();
    m_macroTab.LoadList();
    m_keyEdit->clear();
    m_captured = 0;

    // While the keyboard's active profile is unknown the first profile's
    // record is shown; Apply then asks the user to wait.
    const int profile = GetActiveProfile();
    const KeyFunction record = g_ConfigStore.Record(profile < 0 ? 0 : profile, m_keyIndex);
    m_tabKind = record.kind;
    m_recordValue = record.value;
    m_recordKind = record.kind;

    const bool macroOnly = m_macroOnly != 0;
    const SkinFaceSet tabFaces = m_images.Faces(macroOnly ? SET_MACRO2 : SET_KEY);
    for (CPngButton* b : {m_tabKey, m_tabMedia, m_tabFunction, m_clear, m_title})
        SetFaces(*b, tabFaces, false);
    for (CPngButton* b : {m_tabKey, m_tabMedia, m_tabFunction, m_clear})
        b->setEnabled(!macroOnly && b->isEnabled()); // the layout disabled what the skin leaves out
    // Without their captions the other tabs would be blank buttons.
    for (CPngButton* b : {m_tabKey, m_tabMedia, m_tabFunction})
        b->setVisible(!macroOnly);
    m_title->setEnabled(false);
    if (macroOnly) m_tabKind = TAB_MACRO;

    m_kb->setText(QString());
    m_mou->setText(QString());
    m_disable->setText(QString());
    ShowTab(m_tabKind, true);
    EnableApply(false);
    PlaceBesideButton();
    m_bridge.SendMessage(UM_LANG, TAG_LANG, CurrentLanguageIndex());
    return true;
}

void Orvane_DlgComposite::ShowTab(uint16_t kind, bool fromRecord) {
    SetFaces(*m_mask, m_images.Faces(MaskSet(kind)), true);
    if (kind == TAB_MACRO) {
        m_capture.Stop();
        // Only a macro record's value names a macro (the macro-only form
        // opens on any record).
        m_macroTab.ShowTab(fromRecord, m_recordKind == TAB_MACRO ? m_recordValue : 0);
    } else if (kind == TAB_MEDIA || kind == TAB_FUNCTION) {
        m_capture.Stop();
        m_macroTab.StopRecording();
        QComboBox* list = kind == TAB_MEDIA ? m_media : m_function;
        // A value from a damaged file keeps the first row rather than no row.
        if (fromRecord && m_recordValue >= 0 && m_recordValue < list->count())
            list->setCurrentIndex(m_recordValue);
    } else {
        m_macroTab.StopRecording();
        m_capture.Start();
        if (fromRecord) m_captured = kind == TAB_KEY ? m_recordValue : 0;
        if (kind == TAB_DISABLED) {
            SetDisabledChoice(true);
        } else if (kind == TAB_KEY) {
            const int row = MouseRowOfCode(m_captured);
            if (row >= 0) {
                m_mouse->setCurrentIndex(row);
                SetKeyboardChoice(false);
            } else {
                if (m_captured != 0)
                    m_keyEdit->setText(QString::fromStdString(GetKeyName(static_cast<ScanCode>(m_captured))));
                SetKeyboardChoice(true);
            }
        } else {
            SetKeyboardChoice(true);
        }
    }
    ShowTabControls(kind);
    // The Key tab captures at once, as mouse users expect; the focus on any
    // other control gives the keyboard back.
    if (IsKeyTabKind(kind)) FocusKeyField();
}

void Orvane_DlgComposite::FocusKeyField() {
    if (m_keyEdit->isEnabled() && !m_keyEdit->isHidden()) m_keyEdit->setFocus(Qt::OtherFocusReason);
}

void Orvane_DlgComposite::ShowTabControls(uint16_t kind) {
    const bool keyTab = IsKeyTabKind(kind);
    for (QWidget* w : std::initializer_list<QWidget*>{m_keyEdit, m_kb, m_mou, m_kbLabel, m_mouLabel, m_mouse,
                                                      m_disable, m_disableLabel})
        w->setVisible(keyTab);
    m_keyPrompt->setVisible(keyTab && !m_macroOnly);
    m_media->setVisible(kind == TAB_MEDIA);
    m_mediaPrompt->setVisible(kind == TAB_MEDIA && !m_macroOnly);
    m_function->setVisible(kind == TAB_FUNCTION);
    m_functionPrompt->setVisible(kind == TAB_FUNCTION && !m_macroOnly);
    m_macroTab.SetVisible(kind == TAB_MACRO);
    // The Key tab looks chosen for a cleared key too; for a kind this dialog
    // does not offer no tab is chosen yet.
    m_tabKey->SetChecked(kind == TAB_KEY || kind == TAB_CLEARED || kind == TAB_DISABLED, true);
    m_tabMacro->SetChecked(kind == TAB_MACRO, true);
    m_tabMedia->SetChecked(kind == TAB_MEDIA, true);
    m_tabFunction->SetChecked(kind == TAB_FUNCTION, true);
}

void Orvane_DlgComposite::SelectTab(uint16_t kind) {
    if (kind == TAB_KEY) {
        if (m_tabKind == TAB_CLEARED || m_tabKind == TAB_KEY || m_tabKind == TAB_DISABLED) return;
    } else if (m_tabKind == kind) {
        return;
    }
    m_tabKind = kind;
    ShowTab(kind, false);
    EnableApply(true);
}

void Orvane_DlgComposite::Clear() {
    SelectTab(TAB_KEY);
    if (m_tabKind != TAB_KEY && m_tabKind != TAB_DISABLED) return;
    m_keyEdit->clear();
    // Forget the captured key as well, so choosing KB again cannot store a
    // key the edit no longer shows.
    m_captured = 0;
    m_tabKind = TAB_CLEARED;
    SetKeyboardChoice(true);
    EnableApply(true);
}

void Orvane_DlgComposite::SetKeyboardChoice(bool keyboard) {
    m_keyEdit->setEnabled(keyboard);
    m_mouse->setEnabled(!keyboard);
    m_kb->setChecked(keyboard);
    m_mou->setChecked(!keyboard);
    m_disable->setChecked(false);
}

void Orvane_DlgComposite::SetDisabledChoice(bool disabled) {
    if (!disabled) {
        SetKeyboardChoice(true);
        return;
    }
    m_kb->setChecked(false);
    m_mou->setChecked(false);
    m_mouse->setEnabled(false);
    m_disable->setChecked(true);
}

void Orvane_DlgComposite::TakeCapturedKey(ScanCode code) {
    if (m_disable->isChecked()) SetKeyboardChoice(true);
    m_keyEdit->setText(QString::fromStdString(GetKeyName(code)));
    m_captured = code;
    m_tabKind = TAB_KEY;
    EnableApply(true);
}

void Orvane_DlgComposite::EnableApply(bool enabled) {
    m_changed = enabled ? 1 : 0;
    m_apply->setEnabled(enabled);
}

void Orvane_DlgComposite::OnCommand(int id) {
    switch (id) {
    case 1028:
        SelectTab(TAB_KEY);
        break;
    case 1029:
        SelectTab(TAB_MACRO);
        break;
    case 1030:
        SelectTab(TAB_MEDIA);
        break;
    case 1031:
        SelectTab(TAB_FUNCTION);
        break;
    case 1032:
        Clear();
        break;
    case 1185:
    case 1186:
        SetKeyboardChoice(id == 1185);
        m_tabKind = TAB_KEY;
        EnableApply(true);
        if (id == 1185) FocusKeyField();
        break;
    case kDisableBoxId:
        SetDisabledChoice(m_disable->isChecked());
        m_tabKind = m_disable->isChecked() ? TAB_DISABLED : TAB_KEY;
        EnableApply(true);
        if (!m_disable->isChecked()) FocusKeyField();
        break;
    case 1132:
        if (StartOnScreenKeyboard().empty())
            Prompt().MessageBox(Text("OSK_MISSING"), std::string(), MB_OK | MB_ICONWARNING);
        // Its keys are meant for the key field.
        FocusKeyField();
        break;
    case 1015:
        Apply();
        break;
    case IDOK:
        OnOK();
        break;
    case IDCANCEL:
        OnCancel();
        break;
    default:
        break;
    }
}

bool Orvane_DlgComposite::Apply() {
    const int profile = GetActiveProfile();
    if (profile < 0) {
        Prompt().MessageBox(Text("APPLY_PROMPT"), std::string(), MB_OK | MB_ICONWARNING);
        return false;
    }
    CKeyButtonView& view = m_window->KeyButtons();
    m_macroTab.StoreList(view);

    auto kind = static_cast<KeyFunctionKind>(m_tabKind);
    int32_t value = 0;
    long long repeat = 1;
    switch (m_tabKind) {
    case TAB_KEY:
        if (m_kb->isChecked()) {
            value = m_captured;
        } else {
            const int row = m_mouse->currentIndex();
            value = row >= 0 && row < kMouseRowCount ? kMouseRowCodes[row] : 0;
        }
        break;
    case TAB_MACRO:
        if (m_macroTab.Empty()) {
            kind = KeyFunctionKind::Default;
        } else {
            value = g_ConfigStore.MacroIdAt(m_macroTab.Selected());
            repeat = m_macroTab.LoopCount();
        }
        break;
    case TAB_MEDIA:
        value = m_media->currentIndex();
        break;
    case TAB_FUNCTION:
        value = m_function->currentIndex();
        break;
    default:
        break;
    }
    // The own key, no key at all and an empty macro list all store Default
    // (StoreKeyFunction turns a Key naming no other key into Default).
    if (IsOfferedKind(m_tabKind)) g_ConfigStore.StoreKeyFunction(profile, m_keyIndex, kind, value, repeat);
    RefreshKeyTooltips(view, profile, g_ConfigStore);
    EnableApply(false);
    view.MarkConfigurationChanged();
    return true;
}

void Orvane_DlgComposite::OnOK() {
    // A refused Apply keeps the dialog open, so the choice is not lost.
    if (!Apply()) return;
    CloseUp();
    CBaseDialog::OnOK();
}

void Orvane_DlgComposite::OnCancel() {
    CloseUp();
    CBaseDialog::OnCancel();
}

void Orvane_DlgComposite::CloseUp() {
    m_capture.Stop();
    m_macroTab.StopRecording();
    m_macroTab.FreeAll();
    EnableApply(false);
    if (!m_openScope) return;
    m_openScope.reset();
    if (m_window) m_window->SetButtonEditing(m_buttonId, false);
}

void Orvane_DlgComposite::PlaceBesideButton() {
    QScreen* screen = nullptr;
    QRect button;
    if (!m_macroOnly && m_window) {
        button = m_window->ButtonScreenRect(m_buttonId);
        screen = QGuiApplication::screenAt(button.center());
    }
    if (!screen && parentWidget()) screen = parentWidget()->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    move(m_macroOnly ? CentredPosition(size(), available) : CompositePosition(button, size(), available));
    // sway ignores the move; it centres the dialog, as it is to be without a key.
    QWidget* parent = m_window ? m_window->DialogParent() : nullptr;
    if (!m_macroOnly && parent)
        if (auto request = SwayPlacementFor(*parent->window(), button, size()))
            PlaceOnSway(std::move(*request));
}

void Orvane_DlgComposite::OpenHelp() {
    OpenHelpPage();
}

void Orvane_DlgComposite::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    case Qt::Key_F1:
        if (!m_macroTab.Recording()) OpenHelp();
        event->accept();
        return;
    default:
        CBaseDialog::keyPressEvent(event);
    }
}

} // namespace orvane
