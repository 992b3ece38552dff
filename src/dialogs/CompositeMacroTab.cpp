#include "dialogs/CompositeMacroTab.h"

#include <QApplication>
#include <QPalette>

#include "model/ConfigStore.h"
#include "model/KeyFunction.h"
#include "model/KeyTables.h"
#include "model/KeyTooltip.h"
#include "services/Language.h"
#include "ui/ControlMessages.h"
#include "ui/SkinTargets.h"

namespace orvane {

namespace {

constexpr int kActionColumnWidth = 63;
constexpr uint32_t kLabelColour = 0xE4E4E4;

struct MacroButtonKey {
    int id;
    const char* skinKey;
};
constexpr MacroButtonKey kMacroButtons[] = {
    {1017, "FUNC_MACRO_ADD"},     {1018, "FUNC_MACRO_DELETE"}, {1020, "FUNC_MACRO_RECORD"},
    {1021, "FUNC_MACRO_DELETE2"}, {1022, "FUNC_MACRO_CLEAR"},  {1023, "FUNC_MACRO_UP_TOP"},
    {1024, "FUNC_MACRO_UP"},      {1025, "FUNC_MACRO_DOWN"},   {1026, "FUNC_MACRO_DOWN_BOTTOM"},
};

ColorStatic* Label(QWidget* parent, int id) {
    auto* label = new ColorStatic(parent, id);
    label->SetTextColor(kLabelColour);
    return label;
}

} // namespace

CCompositeMacroTab::CCompositeMacroTab(QWidget* dialog, std::function<void()> changed)
    : m_dialog(dialog), m_changed(std::move(changed)), m_combo(new QComboBox(dialog)),
      m_loops(new QLineEdit(dialog)), m_actions(new CReportCtrl(dialog, 1019)),
      m_recordDelay(new QCheckBox(dialog)), m_nameLabel(Label(dialog, 1200)),
      m_loopsLabel(Label(dialog, 1130)), m_recordDelayLabel(Label(dialog, 1133)) {
    SetControlId(m_combo, 1126);
    SetControlId(m_loops, 1125);
    SetControlId(m_recordDelay, 1027);
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    for (const MacroButtonKey& b : kMacroButtons)
        m_buttons.push_back(new CPngButton(dialog, b.id));

    QObject::connect(m_combo, &QComboBox::currentIndexChanged, m_dialog, [this](int position) {
        if (m_updating) return;
        StoreShownMacro();
        m_selected = position;
        ShowMacro();
    });
    QObject::connect(m_loops, &QLineEdit::textChanged, m_dialog, [this] { LoopCountEdited(); });
    QObject::connect(m_recordDelay, &QCheckBox::clicked, m_dialog,
                     [] { WriteRecordDelayOption(ReadRecordDelayOption() == 0 ? 1 : 0); });
}

void CCompositeMacroTab::Layout(const std::string& skinFile, const CCompositeImages& images) {
    const SkinFaceSet faces = images.Faces(SET_MACRO);
    for (size_t i = 0; i < m_buttons.size(); ++i)
        SkinPlaceButton(*m_buttons[i], skinFile, kMacroButtons[i].skinKey, faces);
    PlaceControl(m_combo, skinFile, "FUNC_MACRO_LIST");
    PlaceControl(m_nameLabel, skinFile, "MARCO_NAME_SETTING");
    PlaceControl(m_loops, skinFile, "FUNC_MACRO_CYCLES");
    PlaceControl(m_loopsLabel, skinFile, "FUNC_MACRO_CYCLES_PROMPT");
    PlaceControl(m_actions, skinFile, "FUNC_MACRO_LIST2");
    PlaceControl(m_recordDelay, skinFile, "FUNC_MACRO_RECORD_DELAY");
    PlaceControl(m_recordDelayLabel, skinFile, "FUNC_MACRO_RECORD_DELAY2");
}

void CCompositeMacroTab::SetUp() {
    if (m_actions->columnCount() == 0) {
        m_actions->SetGridLines(true);
        for (int column = 0; column < 3; ++column)
            m_actions->InsertColumn(column, QString(), Qt::AlignLeft, kActionColumnWidth);
    }
    m_recordDelay->setText(QString());
    m_recordDelay->setChecked(ReadRecordDelayOption() != 0);
    m_updating = true;
    m_loops->setText(QStringLiteral("1"));
    m_updating = false;
    m_recording = false;
}

void CCompositeMacroTab::SetFonts(const QFont& listFont, const QFont& comboFont) {
    m_actions->setFont(listFont);
    m_combo->setFont(comboFont);
}

void CCompositeMacroTab::ApplyTexts(int languageIndex) {
    auto text = [&](const char* key) { return QString::fromStdString(LoadText(key, languageIndex)); };
    m_loopsLabel->setText(text("MACRO_CYCLES"));
    m_recordDelayLabel->setText(text("RECORD_DELAY"));
    m_nameLabel->setText(text("MACRO_NAME_SETTING"));
    m_combo->setAccessibleName(m_nameLabel->text());
    m_loops->setAccessibleName(m_loopsLabel->text());
    m_recordDelay->setAccessibleName(m_recordDelayLabel->text());
    m_actions->setHorizontalHeaderLabels(
        {text("MACRO_KEYS_TISHI"), text("MACRO_ACTION_TISHI"), text("MACRO_DELAY_MS")});
    const std::pair<int, const char*> captions[] = {
        {1020, "A_RECORD"}, {1023, "A_TOP"},    {1024, "A_UP"},   {1025, "A_DOWN"},
        {1026, "A_BOTTOM"}, {1021, "A_DELETE"}, {1022, "A_CLEAR"}};
    for (CPngButton* button : m_buttons)
        for (const auto& [id, key] : captions)
            if (button->ControlId() == id) {
                button->setText(text(key));
                if (id != 1020) button->SetTooltipText(text(key), true);
                button->SetTextStyle(true, 7, QStringLiteral("Arial Unicode MS"), 0xFFFFFF, 0x0082FF,
                                     0x049BFF, 0x7F7F7F, 0xFFFFFF, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
}

void CCompositeMacroTab::SetVisible(bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_combo, m_loops, m_actions, m_recordDelay, m_nameLabel,
                                                      m_loopsLabel, m_recordDelayLabel})
        w->setVisible(visible);
    for (CPngButton* button : m_buttons)
        button->setVisible(visible);
}

void CCompositeMacroTab::LoadList() {
    m_list = g_ConfigStore.Macros();
    for (MacroRecord& macro : m_list)
        macro.newFlag = 0;
    m_updating = true;
    m_combo->clear();
    for (const MacroRecord& macro : m_list)
        m_combo->addItem(QString::fromStdU16String(MacroName(macro)));
    m_combo->setCurrentIndex(-1);
    m_updating = false;
    m_selected = -1;
    m_shownSinceLoad = false;
    ShowMacro();
}

void CCompositeMacroTab::ShowTab(bool fromRecord, int recordValue) {
    if (fromRecord) {
        int position = 0;
        for (size_t i = 0; i < m_list.size(); ++i)
            if (recordValue != 0 && m_list[i].id == static_cast<uint16_t>(recordValue))
                position = static_cast<int>(i);
        Select(m_list.empty() ? -1 : position);
    } else if (!m_shownSinceLoad && recordValue == 0) {
        Select(m_list.empty() ? -1 : 0);
    }
    m_shownSinceLoad = true;
}

void CCompositeMacroTab::Select(int position) {
    StoreShownMacro();
    m_updating = true;
    m_combo->setCurrentIndex(position);
    m_updating = false;
    m_selected = position;
    ShowMacro();
}

void CCompositeMacroTab::ShowMacro() {
    m_actions->DeleteAllItems();
    if (m_selected >= 0 && m_selected < static_cast<int>(m_list.size())) {
        const MacroRecord& macro = m_list[m_selected];
        m_updating = true;
        m_loops->setText(QString::number(macro.repeat));
        m_updating = false;
        const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
        const size_t count = MacroActionCount(macro);
        for (size_t i = 0; i < count; ++i) {
            const MacroAction& action = macro.actions[i];
            const int row = m_actions->InsertItem(static_cast<int>(i));
            m_actions->SetItemText(row, 0, QString::fromStdString(GetKeyName(action.scanCode)));
            m_actions->SetItemText(row, 1,
                                   action.transition == kActionPress ? QStringLiteral("\u2193")
                                                                     : QStringLiteral("  \u2191"));
            m_actions->SetItemText(row, 2, QString::number(action.delay));
            m_actions->SetItemTextColor(row, 0, ColourToRef(grey), false);
            m_actions->SetItemTextColor(row, 1, ColourToRef(grey), false);
        }
    }
    UpdateButtons();
}

void CCompositeMacroTab::StoreShownMacro() {
    if (m_selected < 0 || m_selected >= static_cast<int>(m_list.size())) return;
    // The loop count is kept as its low byte, as the record holds it.
    m_list[m_selected].repeat = static_cast<uint8_t>(m_loops->text().toInt());
}

void CCompositeMacroTab::UpdateButtons() {
    const bool selected = m_selected >= 0;
    for (CPngButton* button : m_buttons)
        if (button->ControlId() >= 1020 && button->ControlId() <= 1026) button->setEnabled(selected);
}

void CCompositeMacroTab::LoopCountEdited() {
    if (m_updating) return;
    // The count is kept in one byte: anything typed is brought into 1-255
    // and shown as it will be stored.
    const QString corrected = QString::number(ClampRepeatCount(m_loops->text().toLongLong()));
    if (m_loops->text() != corrected) {
        m_updating = true;
        m_loops->setText(corrected);
        m_updating = false;
    }
    m_changed();
}

long long CCompositeMacroTab::LoopCount() const {
    return m_loops->text().toLongLong();
}

bool CCompositeMacroTab::StoreList(CKeyButtonView& view) {
    m_actions->EndEdit(true);
    StopRecording();
    StoreShownMacro();
    bool changed = false;
    if (!g_ConfigStore.CommitMacroList(m_list, &changed, &view)) return false;
    for (MacroRecord& macro : m_list)
        macro.newFlag = 0;
    return true;
}

void CCompositeMacroTab::FreeAll() {
    StopRecording();
    m_actions->EndEdit(false);
    m_actions->DeleteAllItems();
    m_updating = true;
    m_combo->clear();
    m_updating = false;
    m_list.clear();
    m_list.shrink_to_fit();
    m_selected = -1;
}

} // namespace orvane
