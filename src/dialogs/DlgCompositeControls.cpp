// The key-assignment dialog's controls: creation, places from the skin
// file, fonts, list contents and texts.
#include <QPainter>
#include <QPalette>

#include "dialogs/DlgComposite.h"
#include "model/KeyFunction.h"
#include "model/KeyTables.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "ui/ControlMessages.h"
#include "ui/FocusMark.h"
#include "ui/SkinTargets.h"

namespace orvane {

namespace {

constexpr uint32_t kLabelColour = 0xE4E4E4;
const QString kFontFace = QStringLiteral("Arial Unicode MS");
constexpr int kCaptionPoints = 10;

constexpr const char* kMouseRowTexts[kMouseRowCount] = {"IDS_KEYBOARD_MOU_LEFT", "IDS_KEYBOARD_MOU_RIGHT",
                                                        "IDS_KEYBOARD_MOU_MIDDLE", "IDS_KEYBOARD_ROLL_UP",
                                                        "IDS_KEYBOARD_ROLL_DOWN"};

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

// The choice boxes carry no text of their own, so the style draws no focus
// frame: the skin's focus mark shows a keyboard user where the focus is.
class CChoiceBox final : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QCheckBox::paintEvent(event);
        if (!WantsFocusMark(this)) return;
        QPainter painter(this);
        DrawFocusMark(painter, rect());
    }
};

QCheckBox* CheckBox(QWidget* parent, int id) {
    auto* box = new CChoiceBox(parent);
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

void Orvane_DlgComposite::CreateControls() {
    setPalette(FieldPalette(palette()));
    auto button = [this](int id) {
        auto* b = new CPngButton(this, id);
        // Reached by Tab, but a click leaves the focus (and so the key
        // capture) where it was.
        b->setFocusPolicy(Qt::TabFocus);
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
    m_capture.SetField(m_keyEdit, [this](bool next) {
        // A key moved the focus: show where it went, as Tab does.
        setAttribute(Qt::WA_KeyboardFocusChange);
        focusNextPrevChild(next);
    });
    m_kb = CheckBox(this, 1185);
    m_mou = CheckBox(this, 1186);
    m_kb->setFocusPolicy(Qt::TabFocus);
    m_mou->setFocusPolicy(Qt::TabFocus);
    connect(m_kb, &QCheckBox::clicked, this, [this] { OnCommand(1185); });
    connect(m_mou, &QCheckBox::clicked, this, [this] { OnCommand(1186); });
    m_disable = CheckBox(this, kDisableBoxId);
    m_disable->setFocusPolicy(Qt::TabFocus);
    connect(m_disable, &QCheckBox::clicked, this, [this] { OnCommand(kDisableBoxId); });
    m_kbLabel = Label(this, 1134);
    m_mouLabel = Label(this, 1135);
    m_disableLabel = Label(this, 1205);
    m_mouse = DropDown(this, 1187);
    m_keyPrompt = Label(this, 1201);
    m_media = DropDown(this, 1128);
    m_mediaPrompt = Label(this, 1202);
    m_function = DropDown(this, 1129);
    m_functionPrompt = Label(this, 1203);
    m_heading = Label(this, 1199);
    for (QComboBox* combo : {m_mouse, m_media, m_function})
        connect(combo, &QComboBox::activated, this, [this] { EnableApply(true); });
    SetReadingTabOrder();
}

// Tab follows the page as it is read, not the order the controls were made
// in: the keyboard button, the tabs, the shown tab's controls top to bottom,
// then Clear, OK and Cancel. Hidden and disabled controls are passed over.
void Orvane_DlgComposite::SetReadingTabOrder() {
    std::vector<QWidget*> chain{m_osk,     m_tabKey, m_tabMacro, m_tabMedia, m_tabFunction, m_kb,
                                m_keyEdit, m_mou,    m_mouse,    m_disable,  m_media,       m_function};
    const std::vector<QWidget*> macro = m_macroTab.TabChain();
    chain.insert(chain.end(), macro.begin(), macro.end());
    chain.insert(chain.end(), {m_clear, m_ok, m_cancel});
    for (size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
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
        {m_disable, "FUNC_KEY_DISABLE"},
        {m_disableLabel, "FUNC_KEY_DISABLE_STATIC"},
    };
    for (const auto& [w, key] : controls)
        PlaceControl(w, skin, key);
    // The mouse drop-down has no place of its own: it sits under its label
    // as the key edit sits under the keyboard label.
    const QRect edit = m_keyEdit->geometry();
    const int below = edit.y() - m_kbLabel->geometry().y();
    m_mouse->setGeometry(edit.x() - 2, m_mouLabel->geometry().y() + below - 2, edit.width() + 4,
                         std::max(24, edit.height() - 6));
    m_macroTab.Layout(skin, m_images.Faces(SET_MACRO));
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
    m_disableLabel->setText(text("SINGLE_DISABLE"));
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
    m_disable->setAccessibleName(m_disableLabel->text());
    m_media->setAccessibleName(m_mediaPrompt->text());
    m_function->setAccessibleName(m_functionPrompt->text());
    m_osk->setAccessibleName(QString::fromStdString(LoadText("COMPOSITE_PROMPT_OSK", languageIndex)));
    m_clear->setAccessibleName(text("A_CLEAR"));

    auto style = [](CPngButton* b, int points) {
        b->SetTextStyle(true, points, kFontFace, 0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    };
    // One size for the four tabs and the dialog's buttons, the main window's
    // large caption size: tabs at 7, 8, 8 and 10 points read as four fonts.
    for (CPngButton* b : {m_tabKey, m_tabMacro, m_tabMedia, m_tabFunction, m_ok, m_cancel})
        style(b, kCaptionPoints);
}

} // namespace orvane
