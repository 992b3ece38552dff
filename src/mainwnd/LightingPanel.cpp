// The lighting panel's controls, their layout from the skin, the refresh from
// the decoded lighting settings and what the lighting switch changes.
#include "mainwnd/LightingPanel.h"

#include <algorithm>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QThread>

#include "app/SkinKeyLists.h"
#include "mainwnd/KeyboardView.h"
#include "mainwnd/LightingPanelModes.h"
#include "mainwnd/PictureStatic.h"
#include "model/UserData.h"
#include "services/Language.h"
#include "transfer/ActiveProfile.h"
#include "ui/BitmapSlider.h"
#include "ui/ColorStatic.h"
#include "ui/ControlMessages.h"
#include "ui/PngButton.h"
#include "ui/SkinColorBtn.h"
#include "ui/SkinTargets.h"

namespace orvane {

namespace {

constexpr uint32_t kLabelColour = 0xE4E4E4;
constexpr int kSliderMax = 5;
constexpr int kSliderPage = 10;
constexpr int kPaletteColumns = 10;
constexpr int kRgbLabel = 1207;

struct Placed {
    int id;
    const char* key;
};

// clang-format off
constexpr Placed kLabels[] = {
    {1171, "CONTROL_DengStatic"},   {1172, "CONTROL_LightStatic"}, {1166, "CONTROL_SpeedStatic"},
    {1148, "CONTROL_BLFXStatic"},   {1151, "CONTROL_FYYSStatic"},  {1176, "CONTROL_FYSJSStatic"},
    {1154, "CONTROL_HXysStatic"},   {1173, "CONTROL_HXsjsStatic"}, {1157, "CONTROL_JTysStatic"},
    {1186, "CONTROL_TSysStatic"},   {1189, "CONTROL_TSsjsStatic"}, {1190, "CONTROL_CDysStatic"},
    {1193, "CONTROL_CDsjsStatic"},  {1182, "CONTROL_FYCFStatic"},  {1181, "CONTROL_FYdjcfStatic"},
    {1184, "CONTROL_FYggcfStatc"},  {1159, "CONTROL_USERysStatic"}, {1161, "CONTROL_USERjsStatic"},
    {1163, "CONTROL_USERgjStatic"}, {1204, "CONTROL_UsbStatic"},   {kRgbLabel, "CONTROL_RGBStatic"},
};
constexpr Placed kPictures[] = {
    {1149, "CONTROL_BLFXLStaPic"},  {1150, "CONTROL_BLFXRStaPic"}, {1175, "CONTROL_FYSJSStaPic"},
    {1156, "CONTROL_HXsjsStaPic"},  {1188, "CONTROL_TSsjsStaPic"}, {1192, "CONTROL_CDsjsStaPic"},
    {1183, "CONTROL_FYdjcfStaPic"}, {1180, "CONTROL_FYggcfStaPic"}, {1194, "CONTROL_HONGPIC"},
    {1195, "CONTROL_HUANGPIC"},     {1196, "CONTROL_LVPIC"},       {1197, "CONTROL_LANPIC"},
    {1164, "CONTROL_USERgjStaPic1"}, {1165, "CONTROL_USERgjStaPic2"}, {1167, "CONTROL_DengStaPic"},
};
constexpr Placed kPickers[] = {
    {1152, "CONTROL_FYYSButton"},   {1155, "CONTROL_HXysButton"},  {1158, "CONTROL_JTysButton"},
    {1187, "CONTROL_TSysButton"},   {1191, "CONTROL_CDysButton"},  {1160, "CONTROL_USERysButton"},
    {1162, "CONTROL_USERjsButton"},
};
// Labels and their "LIGHT" text keys.
constexpr Placed kLabelTexts[] = {
    {1204, "Usb"},   {1171, "Deng"},  {1172, "Light"}, {1148, "FX"},     {1166, "Speed"}, {1151, "Color"},
    {1154, "Color"}, {1159, "Color"}, {1161, "JColor"}, {1173, "DC"},    {1176, "DC"},    {1163, "Tool"},
};
// Controls named for screen readers by the text of the label beside them.
constexpr int kNamedBy[][2] = {
    {1178, 1172}, {1179, 1166}, {1149, 1148}, {1150, 1148}, {1152, 1151}, {1155, 1154}, {1160, 1159},
    {1162, 1161}, {1156, 1173}, {1175, 1176}, {1164, 1163}, {1165, 1163}, {1167, 1171}, {1146, 1171},
};
// Option B pictures, plain and selected.
constexpr const char* kOptionB[4][2] = {
    {"hong.bmp", "hongok.bmp"}, {"huang.bmp", "huangok.bmp"}, {"lv.bmp", "lvok.bmp"}, {"lan.bmp", "lanok.bmp"}};
// clang-format on

// The mode list keeps its selection under the arrow keys: a mode change
// writes to the keyboard, so it is only made on purpose.
class CArrowKeyFilter final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down)
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

CLightingPanel::CLightingPanel(QWidget* window, CKeyboardView& keys, const std::string& skinFile,
                               const std::string& skinFolder, CLightingModel& lighting)
    : m_window(window), m_keys(keys), m_skinFile(skinFile), m_lighting(lighting), m_bitmaps(skinFolder) {
    CreateControls();
    m_keys.SetListModeQuery([this] { return ListMode(); });
    m_lighting.SetBurstListener([this](int status) { OnChangesAnswered(status); });
    ++m_filling;
    SetLightingPanelDefaults();
    ShowSwitchImage(m_lighting.SwitchOn());
    HidePanelControls();
    --m_filling;
    ApplyTexts(CurrentLanguageIndex());
}

CLightingPanel::~CLightingPanel() {
    m_keys.SetListModeQuery({});
    m_lighting.SetBurstListener({});
    // The window destroys the controls; the filter must outlive none of them.
    if (m_modeList) m_modeList->removeEventFilter(m_arrowFilter.get());
}

template <class T> T* CLightingPanel::Add(T* control, int controlId, const char* skinKey) {
    SetControlId(control, controlId);
    PlaceControl(control, m_skinFile, skinKey);
    m_controls[controlId] = control;
    return control;
}

void CLightingPanel::CreateControls() {
    for (const Placed& p : kLabels) {
        auto* label = Add(new ColorStatic(m_window, p.id), p.id, p.key);
        label->SetTextColor(kLabelColour);
        label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    }
    for (const Placed& p : kPictures) {
        auto* picture = Add(new CPictureStatic(m_window, p.id), p.id, p.key);
        const int id = p.id;
        QObject::connect(picture, &CPictureStatic::clicked, picture, [this, id] { OnCommand(id); });
    }
    for (int i = 0; i < kPresetColourCount; ++i) {
        const std::string key = "CONTROL_Color" + std::to_string(i + 1);
        auto* preset = Add(new CPictureStatic(m_window, PresetFirst + i), PresetFirst + i, key.c_str());
        preset->SetPicture(m_bitmaps.Get("Color" + std::to_string(i + 1) + ".bmp"));
        const Colour c = kPresetColours[static_cast<size_t>(i)];
        preset->setAccessibleName(
            QStringLiteral("RGB %1, %2, %3").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c)));
        QObject::connect(preset, &CPictureStatic::clicked, preset, [this, i] { OnCommand(PresetFirst + i); });
    }
    for (const Placed& p : kPickers) {
        auto* picker = Add(new CSkinColorBtn(m_window, p.id), p.id, p.key);
        picker->SetColumnsNumber(kPaletteColumns);
        picker->SetDefaultText(QString());
    }

    m_modeList = Add(new QComboBox(m_window), ModeList, "CONTROL_XGcombox");
    m_arrowFilter = std::make_unique<CArrowKeyFilter>();
    m_modeList->installEventFilter(m_arrowFilter.get());
    QObject::connect(m_modeList, &QComboBox::currentIndexChanged, m_modeList,
                     [this](int position) { OnModeSelected(position); });

    m_sets = Add(new QComboBox(m_window), ColourSets, "CONTROL_umCombo");
    m_sets->setEditable(true);
    m_sets->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(m_sets, &QComboBox::currentIndexChanged, m_sets,
                     [this](int position) { OnColourSetSelected(position); });
    QObject::connect(m_sets->lineEdit(), &QLineEdit::textEdited, m_sets,
                     [this](const QString& text) { OnColourSetRenamed(text); });

    for (int id : {BrightnessSlider, SpeedSlider}) {
        auto* slider = Add(new CBitmapSlider(m_window, id), id,
                           id == BrightnessSlider ? "CONTROL_LightSlider" : "CONTROL_SpeedSlider");
        slider->SetRange(0, kSliderMax);
        slider->SetPageSize(kSliderPage);
        const int valueId = id == BrightnessSlider ? BrightnessValue : SpeedValue;
        auto* value = Add(new ColorStatic(m_window, valueId), valueId,
                          id == BrightnessSlider ? "CONTROL_LightValue" : "CONTROL_SpeedValue");
        value->SetTextColor(kLabelColour);
        value->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    }
    const char* rgbKeys[3] = {"COLOR_R", "COLOR_G", "COLOR_B"};
    for (int c = 0; c < 3; ++c) {
        QLineEdit* edit = Add(new QLineEdit(m_window), RedEdit + c, rgbKeys[c]);
        edit->setMaxLength(3);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), edit));
        m_rgb[static_cast<size_t>(c)] = edit;
        QObject::connect(edit, &QLineEdit::textChanged, edit, [this, c] { OnRgbEdited(c); });
        QObject::connect(edit, &QLineEdit::editingFinished, edit, [this] { OnRgbEntered(); });
    }
    m_busy = Add(new QLabel(m_window), Busy, "CONTROL_JDTStatic");
    m_busy->setPixmap(m_bitmaps.Get("jdt1.bmp"));
    m_busy->hide();
}

// ----------------------------------------------------------------- access

QWidget* CLightingPanel::Control(int controlId) const {
    auto it = m_controls.find(controlId);
    return it == m_controls.end() ? nullptr : it->second;
}

CPictureStatic* CLightingPanel::Picture(int controlId) const {
    return dynamic_cast<CPictureStatic*>(Control(controlId));
}

CSkinColorBtn* CLightingPanel::ColourPicker(int controlId) const {
    return dynamic_cast<CSkinColorBtn*>(Control(controlId));
}

CBitmapSlider* CLightingPanel::Slider(int controlId) const {
    return dynamic_cast<CBitmapSlider*>(Control(controlId));
}

int CLightingPanel::ListMode() const {
    return m_modeList ? m_lighting.Modes().ModeAt(m_modeList->currentIndex()) : -1;
}

// ------------------------------------------------------------- showing

void CLightingPanel::ShowPicture(int controlId, const std::string& name) {
    if (CPictureStatic* picture = Picture(controlId)) {
        picture->SetPicture(m_bitmaps.Get(name));
        picture->SetPictureName(name);
    }
}

void CLightingPanel::ShowTick(int controlId, bool ticked) {
    ShowPicture(controlId, ticked ? "sjsdown.bmp" : "sjsup.bmp");
}

void CLightingPanel::ShowDirection(int mode) {
    const std::array<std::string, 3> keys = SkinDirectionGroupKeys(DirectionPositionSet(mode));
    const int ids[3] = {1148, DirectionFirst, DirectionSecond};
    for (size_t i = 0; i < keys.size(); ++i)
        MoveControl(Control(ids[i]), m_skinFile, keys[i]);
    const DirectionPictures pictures = DirectionPicturesFor(mode, m_lighting.Wanted().direction);
    ShowPicture(DirectionFirst, pictures.first);
    ShowPicture(DirectionSecond, pictures.second);
}

void CLightingPanel::ShowOptionB(int value) {
    for (int i = 0; i < 4; ++i)
        ShowPicture(OptionBFirst + i, kOptionB[i][i == value ? 1 : 0]);
}

void CLightingPanel::ShowPaintTool(int tool) {
    ShowPicture(ToolFirst, tool == 0 ? "user1down.bmp" : "user1up.bmp");
    ShowPicture(ToolSecond, tool == 1 ? "user2down.bmp" : "user2up.bmp");
}

void CLightingPanel::ShowSliders() {
    const CLightingSettings& s = m_lighting.Settings();
    // Pictures follow the clamped positions: a brightness beyond the range
    // would otherwise show one of the speed slider's pictures.
    const int brightness = std::clamp(static_cast<int>(s.brightness), 0, kSliderMax);
    const int speed = kSliderMax - std::min(static_cast<int>(s.speed), kSliderMax);
    Slider(BrightnessSlider)->SetPos(brightness);
    Slider(BrightnessSlider)->SetImage(m_bitmaps.Get(BrightnessPicture(brightness)));
    Slider(SpeedSlider)->SetPos(speed);
    Slider(SpeedSlider)->SetImage(m_bitmaps.Get(SpeedPicture(speed)));
    ShowSliderValue(BrightnessSlider, brightness);
    ShowSliderValue(SpeedSlider, speed);
}

void CLightingPanel::ShowSliderValue(int sliderId, int position) {
    if (sliderId != BrightnessSlider && sliderId != SpeedSlider) return;
    if (auto* value =
            dynamic_cast<QLabel*>(Control(sliderId == BrightnessSlider ? BrightnessValue : SpeedValue)))
        value->setText(QString::number(position));
}

void CLightingPanel::ShowColourSetList() {
    const int p = m_lighting.CurrentProfile();
    ++m_filling;
    if (p >= 0 && m_sets->count() > 0) m_sets->setCurrentIndex(m_lighting.ColourSetInUse(p));
    ColourPicker(OwnPaintPicker)->SetColor(m_lighting.OwnPaintColour());
    ColourPicker(LinkedPaintPicker)->SetColor(m_lighting.LinkedPaintColour());
    ShowPaintTool(m_lighting.PaintTool());
    --m_filling;
}

void CLightingPanel::FillModeList() {
    const CModeList& modes = m_lighting.Modes();
    const int language = CurrentLanguageIndex();
    m_modeList->clear();
    for (int pos = 0; pos < modes.Count(); ++pos)
        m_modeList->addItem(QString::fromStdString(LoadModeText(modes.ModeAt(pos), language)));
    m_modeList->setCurrentIndex(modes.PositionOf(m_lighting.Settings().mode));
}

void CLightingPanel::SetRgbFields(Colour colour) {
    ++m_filling;
    const int channels[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    for (size_t c = 0; c < 3; ++c)
        m_rgb[c]->setText(QString::number(channels[c]));
    --m_filling;
}

void CLightingPanel::SetRgbGroupShown(bool shown) {
    Control(kRgbLabel)->setVisible(shown);
    for (QLineEdit* edit : m_rgb)
        edit->setVisible(shown);
    for (int i = 0; i < kPresetColourCount; ++i)
        Control(PresetFirst + i)->setVisible(shown);
}

void CLightingPanel::RefreshLightingPanel() {
    ++m_filling;
    const CLightingSettings& s = m_lighting.Settings();
    FillModeList();
    for (size_t i = 0; i < m_reportRate.size(); ++i)
        if (m_reportRate[i]) m_reportRate[i]->SetChecked(i == s.optionA, true);
    ShowDirection(s.mode);
    ShowTick(Tick, s.colourful);
    ShowTick(StaticTick, s.colourful);
    ShowTick(SecondTick, s.secondColourFlag);
    ShowTick(ThirdTick, s.thirdColourFlag);
    ShowTick(OptionCFirst, s.optionC == 0);
    ShowTick(OptionCSecond, s.optionC == 1);
    ShowOptionB(s.optionB);
    ColourPicker(StaticPicker)->SetColor(s.staticPickerColour);
    ColourPicker(Picker)->SetColor(s.pickerColour);
    ColourPicker(ThirdPicker)->SetColor(s.previewColour);
    ColourPicker(SecondPicker)->SetColor(s.secondColour);
    ColourPicker(ThirdColourPicker)->SetColor(s.thirdColour);
    ShowColourSetList();
    ShowSliders();
    SetRgbFields(s.previewColour);
    ShowSwitchImage(m_lighting.SwitchOn());
    if (m_lighting.SwitchOn())
        ShowPanelControls(s.mode);
    else
        HidePanelControls();
    --m_filling;
}

void CLightingPanel::SetLightingPanelDefaults() {
    ++m_filling;
    Slider(BrightnessSlider)->SetPos(0);
    Slider(BrightnessSlider)->SetBitmap(m_bitmaps.Get("0.bmp"));
    Slider(SpeedSlider)->SetPos(0);
    Slider(SpeedSlider)->SetBitmap(m_bitmaps.Get("5.bmp"));
    ShowSliderValue(BrightnessSlider, 0);
    ShowSliderValue(SpeedSlider, 0);
    for (int id : {Tick, StaticTick, SecondTick, ThirdTick, OptionCFirst, OptionCSecond})
        ShowTick(id, false);
    ShowOptionB(0);
    ShowPaintTool(0);
    const DirectionPictures pictures = DirectionPicturesFor(1, 0);
    ShowPicture(DirectionFirst, pictures.first);
    ShowPicture(DirectionSecond, pictures.second);
    --m_filling;
}

void CLightingPanel::RefillColourSets() {
    const int p = m_lighting.CurrentProfile();
    if (p < 0) return;
    ++m_filling;
    m_sets->clear();
    for (const std::string& name : ListColourSets(p))
        m_sets->addItem(QString::fromStdString(name));
    LoadKeyColours(p, true, m_lighting);
    ShowColourSetList();
    if (m_lighting.SwitchOn() && m_lighting.Settings().mode == 20) m_lighting.ShowKeyColours(m_keys);
    --m_filling;
}

void CLightingPanel::ApplyTexts(int languageIndex) {
    for (const Placed& p : kLabelTexts)
        if (auto* label = dynamic_cast<QLabel*>(Control(p.id)))
            label->setText(QString::fromStdString(LoadLightText(p.key, languageIndex)));
    static_cast<QLabel*>(Control(kRgbLabel))->setText(QStringLiteral("RGB"));
    const QString otherColour = QString::fromStdString(LoadLightText("OTHER_COLOUR", languageIndex));
    for (const Placed& p : kPickers)
        if (auto* picker = dynamic_cast<CSkinColorBtn*>(Control(p.id))) picker->SetCustomText(otherColour);
    for (const auto& pair : kNamedBy)
        if (auto* label = dynamic_cast<QLabel*>(Control(pair[1])))
            Control(pair[0])->setAccessibleName(label->text());
    const CModeList& modes = m_lighting.Modes();
    for (int pos = 0; pos < m_modeList->count() && pos < modes.Count(); ++pos)
        m_modeList->setItemText(pos, QString::fromStdString(LoadModeText(modes.ModeAt(pos), languageIndex)));
}

void CLightingPanel::ShowBusyIndicator(bool shown) {
    m_busy->setVisible(shown);
}

void CLightingPanel::ShowBusyFrame(int frame) {
    if (frame >= 1 && frame <= 10) m_busy->setPixmap(m_bitmaps.Get("jdt" + std::to_string(frame) + ".bmp"));
}

// ------------------------------------------------------ CLightingHost

bool CLightingPanel::ReselectActiveProfile() {
    if (m_reselect) return m_reselect();
    const int p = m_lighting.CurrentProfile();
    return p >= 0 && SetActiveProfile(p) == 1;
}

void CLightingPanel::ShowSwitchImage(bool on) {
    ShowPicture(Switch, on ? "dengdown.bmp" : "dengup.bmp");
}

void CLightingPanel::ShowPanelControls(int mode) {
    // The list stays reachable in every mode, also one the table does not
    // know, so another mode can always be chosen.
    for (int id : ModeTableControls())
        if (QWidget* control = Control(id)) control->setVisible(id == ModeList || ModeShowsControl(mode, id));
    SetRgbGroupShown(mode != kUnsentMode);
}

void CLightingPanel::HidePanelControls() {
    for (int id : ModeTableControls())
        if (QWidget* control = Control(id)) control->hide();
    SetRgbGroupShown(false);
}

void CLightingPanel::RefreshKeyTooltips() {
    m_keys.RefreshTooltips();
}

} // namespace orvane
