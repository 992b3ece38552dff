#include "dialogs/DlgComposite.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QUrl>

#include "dialogs/CompositePlacement.h"
#include "dialogs/CompositeWindow.h"
#include "dialogs/OnScreenKeyboard.h"
#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "services/Language.h"
#include "services/PathTable.h"
#include "services/Prompt.h"
#include "services/WindowMessages.h"
#include "transfer/ActiveProfile.h"
#include "ui/ControlMessages.h"
#include "ui/SkinTargets.h"

namespace orvane {

namespace {

constexpr uint32_t kLabelColour = 0xE4E4E4;
const QString kFontFace = QStringLiteral("Arial Unicode MS");

constexpr const char* kMouseRowTexts[kMouseRowCount] = {"IDS_KEYBOARD_MOU_LEFT", "IDS_KEYBOARD_MOU_RIGHT",
                                                        "IDS_KEYBOARD_MOU_MIDDLE", "IDS_KEYBOARD_ROLL_UP",
                                                        "IDS_KEYBOARD_ROLL_DOWN"};

// Kinds this dialog offers; a record of another kind (disabled, program,
// stop-macro, text) is shown on the Key tab and left as it is until the user
// picks something.
bool IsOfferedKind(uint16_t kind) {
    return kind == TAB_CLEARED || kind == TAB_KEY || kind == TAB_MACRO || kind == TAB_MEDIA ||
           kind == TAB_FUNCTION;
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

int MouseRowOfCode(int code) {
    for (int row = 0; row < kMouseRowCount; ++row)
        if (kMouseRowCodes[row] == code) return row;
    return -1;
}

QFont DialogFont(double points) {
    QFont font(kFontFace);
    font.setWeight(QFont::Normal);
    font.setPointSizeF(points);
    return font;
}

ColorStatic* Label(QWidget* parent, int id) {
    auto* label = new ColorStatic(parent, id);
    label->SetTextColor(kLabelColour);
    return label;
}

QCheckBox* CheckBox(QWidget* parent, int id) {
    auto* box = new QCheckBox(parent);
    SetControlId(box, id);
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, ColourFromRef(kLabelColour));
    box->setPalette(palette);
    return box;
}

// Edits and lists in the colours of the skin's dark fields.
QPalette FieldPalette(QPalette palette) {
    const QColor text = ColourFromRef(kLabelColour);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, QColor(0x0f, 0x11, 0x14));
        palette.setColor(group, QPalette::AlternateBase, QColor(0x17, 0x1a, 0x1e));
        palette.setColor(group, QPalette::Window, QColor(0x1b, 0x1e, 0x23));
        palette.setColor(group, QPalette::Button, QColor(0x23, 0x26, 0x2c));
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Highlight, QColor(0xff, 0x82, 0x00));
        palette.setColor(group, QPalette::HighlightedText, Qt::black);
    }
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(0x17, 0x19, 0x1c));
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor(0x1a, 0x1c, 0x20));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7f, 0x7f, 0x7f));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7f, 0x7f, 0x7f));
    return palette;
}

QComboBox* DropDown(QWidget* parent, int id) {
    auto* combo = new QComboBox(parent);
    SetControlId(combo, id);
    return combo;
}

} // namespace

Orvane_DlgComposite::Orvane_DlgComposite(QWidget* parent)
    : CBaseDialog(parent, Paths().CompositeSkinFile, Paths().CompositeSkinFolder), m_bridge(this),
      m_capture(
          this, [this] { return m_kb->isChecked(); }, [this](ScanCode code) { TakeCapturedKey(code); }),
      m_macroTab(this) {
    setPalette(FieldPalette(palette()));
    CreateControls();
    m_bridge.OnTaggedMessage(UM_LANG, TAG_LANG, [this](intptr_t languageIndex) {
        ApplyTexts(static_cast<int>(languageIndex));
        return intptr_t(1);
    });
}

Orvane_DlgComposite::~Orvane_DlgComposite() = default;

void Orvane_DlgComposite::CreateControls() {
    auto button = [this](int id) {
        auto* b = new CPngButton(this, id);
        connect(b, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        return b;
    };
    m_tabKey = button(1028);
    m_tabMacro = button(1029);
    m_tabMedia = button(1030);
    m_tabFunction = button(1031);
    m_clear = button(1032);
    m_mask = button(1033);
    m_title = button(1131);
    m_osk = button(1132);
    m_ok = button(IDOK);
    m_cancel = button(IDCANCEL);
    // The skin gives Apply no place: OK applies too. It stays a hidden
    // control whose enabled state says whether anything changed.
    m_apply = new QPushButton(this);
    SetControlId(m_apply, 1015);
    m_apply->setAutoDefault(false);
    m_apply->hide();
    connect(m_apply, &QPushButton::clicked, this, [this] { OnCommand(1015); });

    m_keyEdit = new QLineEdit(this);
    SetControlId(m_keyEdit, 1127);
    m_keyEdit->setReadOnly(true); // filled by key capture only
    m_kb = CheckBox(this, 1185);
    m_mou = CheckBox(this, 1186);
    connect(m_kb, &QCheckBox::clicked, this, [this] { OnCommand(1185); });
    connect(m_mou, &QCheckBox::clicked, this, [this] { OnCommand(1186); });
    m_kbLabel = Label(this, 1134);
    m_mouLabel = Label(this, 1135);
    m_mouse = DropDown(this, 1187);
    m_keyPrompt = Label(this, 1201);
    m_media = DropDown(this, 1128);
    m_mediaPrompt = Label(this, 1202);
    m_function = DropDown(this, 1129);
    m_functionPrompt = Label(this, 1203);
    m_heading = Label(this, 1199);
    for (QComboBox* combo : {m_mouse, m_media, m_function})
        connect(combo, &QComboBox::activated, this, [this] { EnableApply(true); });
}

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

    const bool macroOnly = m_macroOnly != 0;
    const CompositeImageSet tabSet = macroOnly ? SET_MACRO2 : SET_KEY;
    for (CPngButton* b : {m_tabKey, m_tabMedia, m_tabFunction, m_clear, m_title})
        b->SetPictures(m_images.Faces(tabSet)[FACE_NORMAL], m_images.Faces(tabSet)[FACE_HOVER],
                       m_images.Faces(tabSet)[FACE_PRESSED], m_images.Faces(tabSet)[FACE_DISABLED],
                       m_images.Faces(tabSet)[FACE_CHECKED], false);
    for (CPngButton* b : {m_tabKey, m_tabMedia, m_tabFunction, m_clear})
        b->setEnabled(!macroOnly && b->isEnabled()); // the layout disabled what the skin leaves out
    m_title->setEnabled(false);
    if (macroOnly) m_tabKind = TAB_MACRO;

    m_kb->setText(QString());
    m_mou->setText(QString());
    ShowTab(m_tabKind, true);
    EnableApply(false);
    PlaceBesideButton();
    m_bridge.SendMessage(UM_LANG, TAG_LANG, CurrentLanguageIndex());
    return true;
}

void Orvane_DlgComposite::LayoutControls() {
    const std::string& skin = SkinFile();
    const SkinFaceSet keySet = m_images.Faces(SET_KEY);
    const std::pair<CPngButton*, const char*> buttons[] = {
        {m_mask, "CONTROL_MASK"},     {m_title, "CONTROL_TITLE"},          {m_osk, "CONTROL_OSK"},
        {m_clear, "CONTROL_CLEAR"},   {m_tabMedia, "CONTROL_MEDIA"},       {m_tabMacro, "CONTROL_MACRO"},
        {m_tabKey, "CONTROL_KEY"},    {m_tabFunction, "CONTROL_FUNCTION"}, {m_ok, "CONTROL_OK"},
        {m_cancel, "CONTROL_CANCEL"},
    };
    for (const auto& [b, key] : buttons) {
        b->setEnabled(true);
        SkinPlaceButton(*b, skin, key, keySet);
    }
    // Pictures only: the panel and the title never take a click.
    m_mask->setEnabled(false);
    m_title->setEnabled(false);
    m_mask->lower();

    const std::pair<QWidget*, const char*> controls[] = {
        {m_keyPrompt, "TISHI_SINGLE_STATIC"},
        {m_heading, "KEY_SETTING"},
        {m_mediaPrompt, "MEDIA_SETTING_TISHI"},
        {m_functionPrompt, "FUNCTION_KEY_SETTING_TISHI"},
        {m_keyEdit, "FUNC_KEY_INPUT"},
        {m_media, "FUNC_MEDIA_SELECT"},
        {m_function, "FUNC_FUNCTION_SELECT"},
        {m_kb, "FUNC_KEY_RADIO_KB"},
        {m_kbLabel, "FUNC_KEY_RADIO_KB_STATIC"},
        {m_mou, "FUNC_KEY_RADIO_MOU"},
        {m_mouLabel, "FUNC_KEY_RADIO_MOU_STATIC"},
    };
    for (const auto& [w, key] : controls)
        PlaceControl(w, skin, key);
    // The mouse drop-down has no place of its own: it sits under its label
    // as the key edit sits under the keyboard label.
    const QRect edit = m_keyEdit->geometry();
    const int below = edit.y() - m_kbLabel->geometry().y();
    m_mouse->setGeometry(edit.x() - 2, m_mouLabel->geometry().y() + below - 2, edit.width() + 4,
                         std::max(24, edit.height() - 6));
    m_macroTab.Layout(skin, m_images);
}

void Orvane_DlgComposite::CreateFonts() {
    if (m_fontsCreated) return;
    m_keyEdit->setFont(DialogFont(14));
    const QFont listFont = DialogFont(12);
    for (QComboBox* combo : {m_media, m_mouse, m_function})
        combo->setFont(listFont);
    m_macroTab.SetFonts(DialogFont(8), listFont);
    const QFont staticFont = DialogFont(10.8);
    for (ColorStatic* label : {m_heading, m_keyPrompt, m_mediaPrompt, m_functionPrompt})
        label->setFont(staticFont);
    m_fontsCreated = 1;
}

void Orvane_DlgComposite::FillLists() {
    m_media->clear();
    for (int media = 0; media < kMediaKeyCount; ++media)
        m_media->addItem(QString::fromStdString(GetKeyName(MediaKeyAt(media)->scanCode)));
    m_media->setCurrentIndex(0);
    m_function->clear();
    for (int function = 0; function < kFunctionCount; ++function)
        m_function->addItem(QString::fromStdString(Text(FunctionDescriptorKey(function))));
    m_function->setCurrentIndex(0);
    m_mouse->clear();
    for (const char* key : kMouseRowTexts)
        m_mouse->addItem(QString::fromStdString(Text(key)));
    m_mouse->setCurrentIndex(0);
}

void Orvane_DlgComposite::ApplyTexts(int languageIndex) {
    auto text = [&](const char* key) { return QString::fromStdString(LoadText(key, languageIndex)); };
    const bool macroOnly = m_macroOnly != 0;
    m_kbLabel->setText(text("IDS_MACRO_KB_KEY"));
    m_mouLabel->setText(text("IDS_MACRO_MOU_KEY"));
    m_keyPrompt->setText(text("SINGLE_STATIC"));
    m_mediaPrompt->setText(text("MEDIA_EDIT_TISHI"));
    m_functionPrompt->setText(text("FUNCTION_TISHI"));
    m_heading->setText(text(macroOnly ? "MACRO_EDIT_TISHI" : "KEY_SETTING_TISHI"));
    m_tabKey->setText(macroOnly ? QString() : text("SINGLE_KEY"));
    m_tabMedia->setText(macroOnly ? QString() : text("MULTI_MEDIA"));
    m_tabFunction->setText(macroOnly ? QString() : text("FUNCTION_KEY"));
    m_tabMacro->setText(text("MACRO_SETTING"));
    m_ok->setText(text("MACRO_OK"));
    m_cancel->setText(text("MACRO_CANCLE"));
    m_macroTab.ApplyTexts(languageIndex);
    // Screen readers name each control by the text beside it.
    m_keyEdit->setAccessibleName(m_keyPrompt->text());
    m_kb->setAccessibleName(m_kbLabel->text());
    m_mou->setAccessibleName(m_mouLabel->text());
    m_mouse->setAccessibleName(m_mouLabel->text());
    m_media->setAccessibleName(m_mediaPrompt->text());
    m_function->setAccessibleName(m_functionPrompt->text());
    m_osk->setAccessibleName(QString::fromStdString(LoadText("COMPOSITE_PROMPT_OSK", languageIndex)));
    m_clear->setAccessibleName(text("A_CLEAR"));

    auto style = [](CPngButton* b, int points) {
        b->SetTextStyle(true, points, kFontFace, 0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    };
    for (CPngButton* b : {m_tabKey, m_tabMacro, m_tabMedia, m_tabFunction, m_ok, m_cancel})
        style(b, 7);
    if (!macroOnly) {
        style(m_tabKey, 8);
        style(m_tabMedia, 8);
        style(m_tabFunction, 10);
    }
}

void Orvane_DlgComposite::ShowTab(uint16_t kind, bool fromRecord) {
    const SkinFaceSet mask = m_images.Faces(MaskSet(kind));
    m_mask->SetPictures(mask[FACE_NORMAL], mask[FACE_HOVER], mask[FACE_PRESSED], mask[FACE_DISABLED],
                        mask[FACE_CHECKED], true);
    if (kind == TAB_MACRO) {
        m_capture.Stop();
        m_macroTab.ShowTab(fromRecord, m_recordValue);
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
        if (kind == TAB_KEY) {
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
}

void Orvane_DlgComposite::ShowTabControls(uint16_t kind) {
    const bool keyTab = IsKeyTabKind(kind);
    for (QWidget* w : std::initializer_list<QWidget*>{m_keyEdit, m_kb, m_mou, m_kbLabel, m_mouLabel, m_mouse})
        w->setVisible(keyTab);
    m_keyPrompt->setVisible(keyTab && !m_macroOnly);
    m_media->setVisible(kind == TAB_MEDIA);
    m_mediaPrompt->setVisible(kind == TAB_MEDIA && !m_macroOnly);
    m_function->setVisible(kind == TAB_FUNCTION);
    m_functionPrompt->setVisible(kind == TAB_FUNCTION && !m_macroOnly);
    m_macroTab.SetVisible(kind == TAB_MACRO);
    // The Key tab looks chosen for a cleared key too; for a kind this dialog
    // does not offer no tab is chosen yet.
    m_tabKey->SetChecked(kind == TAB_KEY || kind == TAB_CLEARED, true);
    m_tabMacro->SetChecked(kind == TAB_MACRO, true);
    m_tabMedia->SetChecked(kind == TAB_MEDIA, true);
    m_tabFunction->SetChecked(kind == TAB_FUNCTION, true);
}

void Orvane_DlgComposite::SelectTab(uint16_t kind) {
    if (kind == TAB_KEY) {
        if (m_tabKind == TAB_CLEARED || m_tabKind == TAB_KEY) return;
    } else if (m_tabKind == kind) {
        return;
    }
    m_tabKind = kind;
    ShowTab(kind, false);
    EnableApply(true);
}

void Orvane_DlgComposite::Clear() {
    SelectTab(TAB_KEY);
    if (m_tabKind != TAB_KEY) return;
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
}

void Orvane_DlgComposite::TakeCapturedKey(ScanCode code) {
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
        break;
    case 1132:
        StartOnScreenKeyboard();
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
}

void Orvane_DlgComposite::OpenHelp() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(Paths().HelpFolder + "index.html")));
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
