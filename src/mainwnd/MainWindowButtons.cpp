// The main window's own buttons: creation, placement from the skin, faces,
// caption styles, tooltips and the texts UM_LANG applies.
#include <QPushButton>
#include <utility>

#include "app/SkinKeyLists.h"
#include "dialogs/DlgComposite.h"
#include "dialogs/OpenComposite.h"
#include "dialogs/ProfileSwitch.h"
#include "mainwnd/AboutDlg.h"
#include "mainwnd/COrvaneDlg.h"

#include "mainwnd/MainSkinFaces.h"
#include "mainwnd/MainWindowButtonTable.h"
#include "mainwnd/MainWindowIds.h"
#include "services/Language.h"
#include "services/WindowMessages.h"
#include "ui/PngButton.h"
#include <utility>

namespace orvane {
namespace {

// Caption colours of every styled button (0x00BBGGRR): normal, hover,
// pressed, disabled, checked.
constexpr uint32_t kCaptionColours[] = {0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF};
const QString kCaptionFace = QStringLiteral("Arial Unicode MS");
const QString kVersionFace = QStringLiteral("Verdana Unicode MS");

void SetCaptionStyle(CPngButton& button, int size, const QString& face, unsigned flags) {
    button.SetTextStyle(true, size, face, kCaptionColours[0], kCaptionColours[1], kCaptionColours[2],
                        kCaptionColours[3], kCaptionColours[4], flags);
}

void ApplyCaptionStyle(CPngButton& button, CaptionStyle style) {
    switch (style) {
    case CaptionStyle::Large:
    case CaptionStyle::Profile:
        SetCaptionStyle(button, 10, kCaptionFace, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        break;
    case CaptionStyle::Small:
        SetCaptionStyle(button, 8, kCaptionFace, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        break;
    case CaptionStyle::Version:
        SetCaptionStyle(button, 8, kVersionFace, DT_VCENTER | DT_SINGLELINE);
        break;
    case CaptionStyle::None:
        break;
    }
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CPngButton* COrvaneDlg::Button(int id) const {
    auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

QPushButton* COrvaneDlg::HiddenButton(int id) const {
    auto it = m_hiddenButtons.find(id);
    return it == m_hiddenButtons.end() ? nullptr : it->second;
}

void COrvaneDlg::CreateButtons() {
    auto add = [this](int id) {
        auto* button = new CPngButton(this, id);
        // Enter never presses a button of this window.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        m_buttons[id] = button;
        return button;
    };
    for (const MainButtonInfo& info : MainWindowButtons())
        add(info.id);
    for (const MainButtonInfo& info : MainWindowLinkButtons())
        add(info.id);
    add(IDC_LEFT_ARROW);
    add(IDC_RIGHT_ARROW);
    // 1144 is never shown; 1008 and 1009 are plain buttons with no role.
    Button(IDC_SWITCH)->hide();
    for (int id : {IDC_HIDDEN_1, IDC_HIDDEN_2}) {
        auto* hidden = new QPushButton(this);
        hidden->setAutoDefault(false);
        hidden->hide();
        m_hiddenButtons[id] = hidden;
    }
}

void COrvaneDlg::LayoutButtons() {
    const std::string& skin = SkinFile();
    for (const MainButtonInfo& info : MainWindowButtons()) {
        CPngButton& button = *Button(info.id);
        SkinPlaceButton(button, skin, info.skinKey, m_faces->ButtonFaces(info.skinKey));
        ApplyCaptionStyle(button, info.style);
    }
    for (const MainButtonInfo& info : MainWindowLinkButtons()) {
        CPngButton& button = *Button(info.id);
        const SkinRect r = SkinPlaceControl(button, skin, info.skinKey);
        const SkinFaceSet faces = m_faces->ButtonFaces(info.skinKey);
        button.SetPicturesAt(r.x, r.y, faces[FACE_NORMAL], faces[FACE_HOVER], faces[FACE_PRESSED],
                             faces[FACE_DISABLED], faces[FACE_CHECKED], false);
        // The program has no web site or social pages to point them at.
        button.hide();
    }
    PlaceArrows();

    // Placing enabled Apply; it follows ApplyPending.
    Button(IDC_APPLY)->setEnabled(ApplyPending());
    // The version label: no text, never pressed.
    Button(IDC_VERSION)->setText(QString());
    Button(IDC_VERSION)->setEnabled(false);
    Button(IDC_WEB_ADDRESS)->SetTooltipText(m_webAddress, true);
    Button(IDC_HELP)->SetTooltipText(Q(Text("MAIN_HELP_PROMPT")), true);
    Button(IDC_CLOSE)->SetTooltipText(Q(Text("MAIN_CLOSE_PROMPT")), true);
    Button(IDC_MINIMISE)->SetTooltipText(Q(Text("MAIN_MINIMIZE_PROMPT")), true);
    Button(IDC_MENU)->SetTooltipText(Q(Text("MAIN_MENU_PROMPT")), true);
    NamePictureButtons();
    // Indicators and plates do nothing when pressed: Tab passes them by.
    for (int id : {IDC_LOCK_CAPS, IDC_LOCK_NUM, IDC_LOCK_SCROLL, IDC_LOCK_AB, IDC_FLIP_0, IDC_LEFT_ARROW,
                   IDC_RIGHT_ARROW, IDC_VERSION})
        Button(id)->setFocusPolicy(Qt::NoFocus);
}

void COrvaneDlg::NamePictureButtons() {
    // Buttons that show only a picture: a screen reader needs words for them.
    static constexpr std::pair<int, const char*> kNames[] = {
        {IDC_LOCK_CAPS, "Caps Lock"},
        {IDC_LOCK_NUM, "Num Lock"},
        {IDC_LOCK_SCROLL, "Scroll Lock"},
        {IDC_LOCK_AB, "A/B lock"},
        {IDC_FLIP_0, "Flip picture"},
        {IDC_FLIP_1, "Flip"},
        {IDC_FLIP_2, "Flip"},
        {IDC_LEFT_ARROW, "Flip arrow left"},
        {IDC_RIGHT_ARROW, "Flip arrow right"},
        {IDC_REPORT_1, "Report rate 1"},
        {IDC_REPORT_2, "Report rate 2"},
        {IDC_REPORT_3, "Report rate 3"},
        {IDC_REPORT_4, "Report rate 4"},
    };
    for (const auto& [id, name] : kNames)
        if (CPngButton* button = Button(id); button && button->accessibleName().isEmpty())
            button->setAccessibleName(QString::fromLatin1(name));
}

void COrvaneDlg::PlaceArrows() {
    const CSkinFace* arrow = m_faces->Face(MAIN_ARROW);
    SkinPlaceButtonWithFaceOrigin(*Button(IDC_LEFT_ARROW), SkinFile(), "LEFT_ARROW",
                                  SkinArrowFaceKey(false, m_flip), arrow);
    SkinPlaceButtonWithFaceOrigin(*Button(IDC_RIGHT_ARROW), SkinFile(), "RIGHT_ARROW",
                                  SkinArrowFaceKey(true, m_flip), arrow);
    // Placing does not repaint: a toggle must show the new direction at once.
    Button(IDC_LEFT_ARROW)->update();
    Button(IDC_RIGHT_ARROW)->update();
}

void COrvaneDlg::ApplyTexts(int languageIndex) {
    if (m_about) m_about->Bridge().SendMessage(UM_LANG, TAG_LANG, languageIndex);
    if (Orvane_DlgComposite* keyDialog = OpenCompositeDialog())
        keyDialog->Bridge().SendMessage(UM_LANG, TAG_LANG, languageIndex);
    Button(IDC_MINIMISE)->SetTooltipText(Q(LoadText("MAIN_MINIMIZE_PROMPT", languageIndex)), true);
    Button(IDC_MENU)->SetTooltipText(Q(LoadText("MAIN_MENU_PROMPT", languageIndex)), true);
    Button(IDC_CLOSE)->SetTooltipText(Q(LoadText("MAIN_CLOSE_PROMPT", languageIndex)), true);
    if (m_parts.applyTexts) m_parts.applyTexts(languageIndex);
    RebuildProfileMenu();
    for (const MainButtonInfo& info : MainWindowButtons()) {
        if (!info.captionKey) continue;
        CPngButton& button = *Button(info.id);
        button.setText(Q(LoadText(info.captionKey, languageIndex)));
        ApplyCaptionStyle(button, info.style);
    }
}

} // namespace orvane
