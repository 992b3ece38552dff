#include "mainwnd/KeyboardView.h"

#include "dialogs/FlipSetting.h"
#include "mainwnd/FlipRow.h"
#include "mainwnd/LightingPanel.h"

#include <algorithm>
#include <mutex>
#include <QPainter>
#include <QWidget>
#include <utility>

#include "app/SkinKeyLists.h"
#include "device/DeviceCommands.h"
#include "dialogs/OpenComposite.h"
#include "mainwnd/MainSkinFaces.h"
#include "model/ConfigStore.h"
#include "model/KeyFunction.h"
#include "model/KeyTables.h"
#include "platform/CriticalSections.h"
#include "services/WindowMessages.h"
#include "ui/BaseDialog.h"
#include "ui/KeyFocusGroup.h"
#include "ui/PngButton.h"

namespace orvane {

namespace {

constexpr int kPaintMode = 20;

int GKeyPosition(int controlId) {
    for (int n = 0; n < kGKeyCount; ++n)
        if (kGKeyControlIds[static_cast<size_t>(n)] == controlId) return n;
    return -1;
}

// The profile whose records the picture shows: the keyboard's active one,
// profile 0 while it is unknown.
int ShownProfile() {
    const int p = GetActiveProfileCache();
    return p >= 0 && p < kProfileCount ? p : 0;
}

// A key of the picture. Lit, it shows only its coloured frame over the
// window's picture. It draws that picture under the frame itself, the whole
// key at every paint: on a translucent window a part left undrawn would show
// the desktop through the key.
class CKeyButton final : public CPngButton {
  public:
    CKeyButton(QWidget* window, int controlId)
        : CPngButton(window, controlId), m_dialog(qobject_cast<CBaseDialog*>(window)) {}
    void SetLight(uint32_t colour, bool lit) {
        setAttribute(Qt::WA_OpaquePaintEvent, lit && m_dialog && !m_dialog->Background().isNull());
        SetOutline(colour, lit);
    }

  protected:
    void PaintUnder(QPainter& painter) override {
        if (testAttribute(Qt::WA_OpaquePaintEvent)) {
            painter.drawPixmap(QPoint(0, 0), m_dialog->Background(),
                               QRect(mapTo(m_dialog, QPoint(0, 0)), size()));
        }
    }

  private:
    CBaseDialog* m_dialog;
};

} // namespace

CKeyboardView::CKeyboardView(QWidget* window, const CMainSkinFaces& faces, const std::string& skinFile,
                             CLightingModel& lighting)
    : m_window(window), m_faces(faces), m_skinFile(skinFile), m_lighting(lighting) {
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        const KeySlot* k = KeySlotAt(slot);
        m_lightButtons[static_cast<size_t>(
            KeyButtonNumber({KeyButtonKind::Slot, static_cast<uint8_t>(slot)}))] =
            MakeButton(window, k->controlId, SkinKeyName(k->scanCode));
    }
    for (int n = 0; n < kGKeyCount; ++n)
        m_lightButtons[static_cast<size_t>(KeyButtonNumber({KeyButtonKind::GKey, static_cast<uint8_t>(n)}))] =
            MakeButton(window, kGKeyControlIds[static_cast<size_t>(n)], SkinGKeyName(n + 1));
    m_lightButtons[static_cast<size_t>(KeyButtonNumber({KeyButtonKind::Fn, 0}))] =
        MakeButton(window, kFnButtonId, "KEY_FN");

    // No skin key places these: they take the F1-F4 group's place and stay
    // disabled and hidden until the flip setting swaps them in; 1057 is
    // never shown.
    QRect fGroup;
    for (int id : kFlipFKeyButtons)
        if (CPngButton* f = Button(id)) fGroup |= f->geometry();
    m_flipRowFaces = std::make_unique<CFlipRowFaces>(fGroup, kFlipRowCount);
    std::array<CPngButton*, kFlipRowCount> row{};
    for (int i = 0; i < kFlipRowCount; ++i) {
        CPngButton* b = MakeButton(window, kFirstFlipRowId + i, std::string());
        b->setGeometry(1, 1, 1, 1);
        b->setEnabled(false);
        b->hide();
        row[static_cast<size_t>(i)] = b;
    }
    PlaceFlipRow(row, fGroup, *m_flipRowFaces);
    CPngButton* hidden = MakeButton(window, kHiddenButtonId, std::string());
    hidden->setGeometry(1, 1, 1, 1);
    hidden->setEnabled(false);
    hidden->hide();
    GroupKeys();
}

void CKeyboardView::GroupKeys() {
    // Tab enters the picture at its top-left key; the arrows go by place.
    std::vector<CPngButton*> keys;
    for (const auto& [id, button] : m_buttons)
        if (id != kHiddenButtonId) keys.push_back(button);
    std::sort(keys.begin(), keys.end(), [](const CPngButton* a, const CPngButton* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    m_focusGroup = new CKeyFocusGroup(m_window);
    for (CPngButton* key : keys) {
        key->SetAccessibleKey(QString::fromStdString(OwnKeyName(key->ControlId())), QString());
        m_focusGroup->Add(key);
    }
}

std::string CKeyboardView::OwnKeyName(int controlId) {
    if (controlId == kFnButtonId) return "Fn";
    if (const int n = GKeyPosition(controlId); n >= 0) return GKeyOwnName(n);
    if (const int slot = KeySlotOfControlId(controlId); slot >= 0)
        return GetKeyName(KeySlotAt(slot)->scanCode);
    if (controlId >= kFirstFlipRowId && controlId < kFirstFlipRowId + kFlipRowCount)
        return "Flip row " + std::to_string(controlId - kFirstFlipRowId + 1);
    return std::string();
}

CKeyboardView::~CKeyboardView() = default;

CPngButton* CKeyboardView::MakeButton(QWidget* window, int controlId, const std::string& skinKey) {
    auto* button = new CKeyButton(window, controlId);
    button->setFocusPolicy(Qt::TabFocus);
    if (!skinKey.empty()) SkinPlaceButton(*button, m_skinFile, skinKey, m_faces.ButtonFaces(skinKey));
    m_buttons[controlId] = button;
    m_skinKeys[controlId] = skinKey;
    QObject::connect(button, &QPushButton::clicked, button, [this, controlId] { OnCommand(controlId); });
    return button;
}

CPngButton* CKeyboardView::Button(int controlId) const {
    auto it = m_buttons.find(controlId);
    return it == m_buttons.end() ? nullptr : it->second;
}

std::optional<KeyButton> CKeyboardView::KeyButtonOfControl(int controlId) {
    if (controlId == kFnButtonId) return KeyButton{KeyButtonKind::Fn, 0};
    if (const int n = GKeyPosition(controlId); n >= 0)
        return KeyButton{KeyButtonKind::GKey, static_cast<uint8_t>(n)};
    if (const int slot = KeySlotOfControlId(controlId); slot >= 0)
        return KeyButton{KeyButtonKind::Slot, static_cast<uint8_t>(slot)};
    return std::nullopt;
}

void CKeyboardView::OnCommand(int controlId) {
    if (GKeyPosition(controlId) >= 0)
        OnGKeyClicked(controlId);
    else if (Button(controlId))
        OnKeyClicked(controlId);
}

void CKeyboardView::OnKeyClicked(int controlId) {
    if (m_lighting.SwitchOn()) {
        PaintKey(controlId);
    } else if (controlId != kFnButtonId) // Fn has no function of its own to edit
        OpenCompositeForButton(controlId);
}

void CKeyboardView::OnGKeyClicked(int controlId) {
    OpenCompositeForButton(controlId);
}

void CKeyboardView::OnMacroButton() {
    OpenCompositeForButton(kMacroOnlyButtonId);
}

int CKeyboardView::OpenCompositeForButton(int controlId) {
    CompositeRequest request;
    request.buttonId = controlId;
    request.macroOnly = controlId == kMacroOnlyButtonId;
    request.keyIndex = CompositeKeyIndexForButton(controlId, m_gKeyBank);
    if (request.keyIndex < 0 || !Button(controlId)) return -1;
    request.buttonOnScreen = ButtonScreenRect(controlId);
    SetButtonEditing(controlId, true);
    if (m_runComposite)
        m_runComposite(request);
    else
        ::orvane::OpenCompositeForButton(*this, controlId);
    SetButtonEditing(controlId, false);
    return 0;
}

QRect CKeyboardView::ButtonScreenRect(int buttonId) {
    CPngButton* button = Button(buttonId);
    return button ? QRect(button->mapToGlobal(QPoint(0, 0)), button->size()) : QRect();
}

void CKeyboardView::SetButtonEditing(int buttonId, bool editing) {
    CPngButton* button = Button(buttonId);
    if (!button) return;
    if (!editing) {
        RestoreKeyFaces(buttonId);
        m_editing = -1;
        return;
    }
    // The dialog is modal, so one key at a time wears the editing look.
    const CSkinFace* over = m_faces.Face(MAIN_OVER);
    button->SetPictures(over, over, m_faces.Face(MAIN_DOWN), m_faces.Face(MAIN_NORMAL), over, false);
    m_editing = buttonId;
}

void CKeyboardView::RestoreKeyFaces(int controlId) {
    CPngButton* button = Button(controlId);
    auto key = m_skinKeys.find(controlId);
    if (!button || key == m_skinKeys.end() || key->second.empty()) return;
    const SkinFaceSet faces = m_faces.ButtonFaces(key->second);
    button->SetPictures(faces[FACE_NORMAL], faces[FACE_HOVER], faces[FACE_PRESSED], faces[FACE_DISABLED],
                        faces[FACE_CHECKED], true);
}

int CKeyboardView::PaintKey(int controlId) {
    if (m_listMode && m_listMode() != kPaintMode) return kLightingNothingToSend;
    const std::optional<KeyButton> key = KeyButtonOfControl(controlId);
    if (!key) return kLightingNothingToSend; // 1016-1021 and 1057 have no LED
    return m_lighting.PaintKey(*key, *this, [](int) { TellLightingRefused(); });
}

void CKeyboardView::OnLedMessage(uintptr_t wParam) {
    if (wParam != TAG_LED) return;
    std::array<bool, kGKeyCount> marked{};
    {
        std::lock_guard lock(ConfigStoreLock());
        const int profile = ShownProfile();
        for (int n = 0; n < kGKeyCount; ++n)
            marked[static_cast<size_t>(n)] =
                !g_ConfigStore.Record(profile, GKeyButtonIndex(n, m_gKeyBank)).Is(KeyFunctionKind::Default);
    }
    for (int n = 0; n < kGKeyCount; ++n)
        if (CPngButton* b = Button(kGKeyControlIds[static_cast<size_t>(n)]))
            b->SetChecked(marked[static_cast<size_t>(n)], true);
}

void CKeyboardView::ClearPreview() {
    CPreview::ClearPreview(*this);
    for (CPngButton* b : m_lightButtons)
        if (b && b->IsChecked()) b->SetChecked(false, true);
}

void CKeyboardView::PreviewFrame() {
    if (!m_lighting.SwitchOn()) return;
    // While the list shows a mode that was not sent (19), the picture stays still.
    if (m_listMode && m_listMode() != m_lighting.Settings().mode) return;
    m_lighting.Preview().TimerTick(m_lighting.CurrentPreviewParams(), *this);
}

void CKeyboardView::RefreshTooltips() {
    RefreshKeyTooltips(*this, GetActiveProfileCache(), g_ConfigStore);
}

void CKeyboardView::ApplyFlip(bool flipped) {
    // Both groups share one place: only the enabled one is shown.
    for (int id : kFlipFKeyButtons)
        if (CPngButton* b = Button(id)) {
            b->setEnabled(!flipped);
            b->setVisible(!flipped);
        }
    for (int id = kFirstFlipRowId; id < kFirstFlipRowId + kFlipRowCount; ++id)
        if (CPngButton* b = Button(id)) {
            b->setEnabled(flipped);
            b->setVisible(flipped);
        }
}

void CKeyboardView::SetKeyLight(const KeyButton& button, Colour colour, bool lit) {
    const int n = KeyButtonNumber(button);
    if (n < 0) return;
    CPngButton* b = m_lightButtons[static_cast<size_t>(n)];
    Shown& shown = m_shown[static_cast<size_t>(n)];
    colour &= 0xFFFFFF;
    if (!b || (shown.colour == colour && shown.lit == lit && b->OutlineOn() == lit)) return;
    shown = {colour, lit};
    ++m_repaints;
    static_cast<CKeyButton*>(b)->SetLight(colour, lit);
}

void CKeyboardView::SetKeyButtonTooltip(int controlId, const std::string& text, bool checked) {
    CPngButton* b = Button(controlId);
    if (!b) return;
    b->SetTooltipText(QString::fromStdString(text), true);
    b->SetChecked(checked, true);
    // The tooltip starts with the key's own name; the rest says what it does.
    const std::string own = OwnKeyName(controlId);
    const bool named = text.compare(0, own.size(), own) == 0;
    b->SetAccessibleKey(QString::fromStdString(own),
                        QString::fromStdString(named ? text.substr(own.size()) : text));
}

void CKeyboardView::MarkConfigurationChanged() {
    if (m_changed) m_changed();
}

} // namespace orvane
