#include "dialogs/MacroTab.h"

#include <chrono>
#include <QApplication>
#include <QRegularExpressionValidator>

#include "model/ConfigStore.h"
#include "model/KeyFunction.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "services/WriteFailureReport.h"
#include "transfer/ActiveProfile.h"
#include "ui/ControlMessages.h"
#include "ui/SkinTargets.h"

namespace orvane {

namespace {

constexpr uint32_t kLabelColour = 0xE4E4E4;
constexpr int kActionColumnWidth = 63;
constexpr int kNameSearchLimit = 10000; // names tried before giving up on a free one

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

int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// "%d" of a text: optional blanks and sign, then digits; 0 when none.
// Saturates instead of overflowing on a long run of digits.
long long LeadingNumber(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    long long value = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 0x80; ++i)
        value = std::min<long long>(value * 10 + (t[i].unicode() - '0'), 1LL << 40);
    return negative ? -value : value;
}

// The name field holds 249 UTF-16 units; a longer name is cut there, one
// unit earlier when the cut would split a surrogate pair.
std::u16string CutMacroName(std::u16string name) {
    if (name.size() <= kMacroNameMaxChars) return name;
    size_t n = kMacroNameMaxChars;
    if (QChar::isHighSurrogate(name[n - 1])) --n;
    name.resize(n);
    return name;
}

} // namespace

CMacroTab::CMacroTab(QWidget* dialog, std::function<void()> enableApply)
    : m_enableApply(std::move(enableApply)), m_combo(new QComboBox(dialog)), m_loops(new QLineEdit(dialog)),
      m_actions(new CReportCtrl(dialog, 1019)), m_recordDelay(new QCheckBox(dialog)),
      m_nameLabel(Label(dialog, 1200)), m_loopsLabel(Label(dialog, 1130)),
      m_recordDelayLabel(Label(dialog, 1133)),
      m_recorder(dialog, [this](const RecordKey& key) { return OnRecordedKey(key); }), m_clock(SteadyMs) {
    SetControlId(m_combo, 1126);
    SetControlId(m_loops, 1125);
    m_loops->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), m_loops));
    SetControlId(m_recordDelay, 1027);
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    // Completion would change the typed name behind the user's back.
    m_combo->setCompleter(nullptr);
    m_actions->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_actions->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const MacroButtonKey& b : kMacroButtons) {
        auto* button = new CPngButton(dialog, b.id);
        QObject::connect(button, &QPushButton::clicked, dialog, [this, id = b.id] { OnCommand(id); });
        m_buttons.push_back(button);
    }
    QObject::connect(m_combo, &QComboBox::currentIndexChanged, dialog,
                     [this](int position) { OnSelectionChange(position); });
    QObject::connect(m_combo->lineEdit(), &QLineEdit::textEdited, dialog,
                     [this](const QString& text) { Rename(text); });
    QObject::connect(m_loops, &QLineEdit::textChanged, dialog,
                     [this](const QString& text) { OnLoopCountEdited(text); });
    QObject::connect(m_recordDelay, &QCheckBox::clicked, dialog, [this] { OnCommand(1027); });
    m_actions->SetEditable(true);
    m_actions->SetCallbacks(
        [this](CReportCtrl*, int row, int column, unsigned* style, void*) {
            return BeginCellEdit(row, column, style);
        },
        [this](CReportCtrl*, int row, int, QString* text, void*) { return ValidateDelay(row, text); },
        [this](CReportCtrl*, int row, int column, bool keep, void*) {
            return EndCellEdit(row, column, keep);
        });
}

std::vector<QWidget*> CMacroTab::TabChain() const {
    std::vector<QWidget*> chain{m_combo, Button(1017), Button(1018), m_actions};
    for (int id : {1020, 1023, 1024, 1025, 1026, 1021, 1022})
        chain.push_back(Button(id));
    chain.push_back(m_loops);
    chain.push_back(m_recordDelay);
    return chain;
}

CMacroTab::~CMacroTab() {
    m_recorder.Stop();
}

CPngButton* CMacroTab::Button(int id) const {
    for (CPngButton* button : m_buttons)
        if (button->ControlId() == id) return button;
    return nullptr;
}

void CMacroTab::Layout(const std::string& skinFile, const SkinFaceSet& faces) {
    for (size_t i = 0; i < m_buttons.size(); ++i)
        SkinPlaceButton(*m_buttons[i], skinFile, kMacroButtons[i].skinKey, faces);
    PlaceControl(m_combo, skinFile, "FUNC_MACRO_LIST");
    PlaceControl(m_nameLabel, skinFile, "MARCO_NAME_SETTING");
    PlaceControl(m_loops, skinFile, "FUNC_MACRO_CYCLES");
    PlaceControl(m_loopsLabel, skinFile, "FUNC_MACRO_CYCLES_PROMPT");
    PlaceControl(m_actions, skinFile, "FUNC_MACRO_LIST2");
    PlaceControl(m_recordDelay, skinFile, "FUNC_MACRO_RECORD_DELAY");
    PlaceControl(m_recordDelayLabel, skinFile, "FUNC_MACRO_RECORD_DELAY2");
    UpdateButtons();
}

void CMacroTab::SetUp() {
    if (m_actions->columnCount() == 0) {
        m_actions->SetGridLines(true);
        for (int column = 0; column < 3; ++column)
            m_actions->InsertColumn(column, QString(), Qt::AlignLeft, kActionColumnWidth);
    }
    m_recordDelay->setText(QString());
    m_recordDelay->setChecked(ReadRecordDelayOption() != 0);
    SetLoopText(QStringLiteral("1"));
    StopRecording();
}

void CMacroTab::SetFonts(const QFont& listFont, const QFont& comboFont) {
    m_actions->setFont(listFont);
    m_combo->setFont(comboFont);
}

void CMacroTab::ApplyTexts(int languageIndex) {
    auto text = [&](const char* key) { return QString::fromStdString(LoadText(key, languageIndex)); };
    m_loopsLabel->setText(text("MACRO_CYCLES"));
    m_recordDelayLabel->setText(text("RECORD_DELAY"));
    m_nameLabel->setText(text("MACRO_NAME_SETTING"));
    // Screen readers name the fields by their labels.
    m_combo->setAccessibleName(m_nameLabel->text());
    m_loops->setAccessibleName(m_loopsLabel->text());
    m_recordDelay->setAccessibleName(m_recordDelayLabel->text());
    m_actions->setAccessibleName(text("MACRO_SETTING"));
    m_actions->setHorizontalHeaderLabels(
        {text("MACRO_KEYS_TISHI"), text("MACRO_ACTION_TISHI"), text("MACRO_DELAY_MS")});
    const std::pair<int, const char*> captions[] = {
        {1020, "A_RECORD"}, {1023, "A_TOP"},    {1024, "A_UP"},   {1025, "A_DOWN"},
        {1026, "A_BOTTOM"}, {1021, "A_DELETE"}, {1022, "A_CLEAR"}};
    for (const auto& [id, key] : captions) {
        CPngButton* button = Button(id);
        button->setText(text(key));
        if (id != 1020) button->SetTooltipText(text(key), true);
        button->SetTextStyle(true, 8, QStringLiteral("Arial Unicode MS"), 0xFFFFFF, 0x0082FF, 0x049BFF,
                             0x7F7F7F, 0xFFFFFF, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (Recording()) Button(1020)->setText(text("MACRO_ACTION_STOP_RECORD"));
}

void CMacroTab::SetVisible(bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_combo, m_loops, m_actions, m_recordDelay, m_nameLabel,
                                                      m_loopsLabel, m_recordDelayLabel})
        w->setVisible(visible);
    for (CPngButton* button : m_buttons)
        button->setVisible(visible);
}

void CMacroTab::LoadList() {
    m_actions->EndEdit(false);
    m_list = g_ConfigStore.Macros();
    for (MacroRecord& macro : m_list)
        macro.newFlag = 0;
    m_updatingCombo = true;
    m_combo->clear();
    for (const MacroRecord& macro : m_list)
        m_combo->addItem(QString::fromStdU16String(MacroName(macro)));
    m_combo->setCurrentIndex(-1);
    m_updatingCombo = false;
    m_selected = -1;
    m_shownSinceLoad = false;
    ShowMacro();
}

void CMacroTab::ShowTab(bool fromRecord, int recordValue) {
    if (fromRecord) {
        int position = 0;
        for (size_t i = 0; i < m_list.size(); ++i)
            if (recordValue != 0 && m_list[i].id == static_cast<uint16_t>(recordValue)) {
                position = static_cast<int>(i);
                break;
            }
        Select(m_list.empty() ? -1 : position);
    } else if (!m_shownSinceLoad && recordValue == 0) {
        Select(m_list.empty() ? -1 : 0);
    }
    m_shownSinceLoad = true;
}

bool CMacroTab::OnCommand(int id) {
    switch (id) {
    case 1017:
        AddMacro();
        return true;
    case 1018:
        DeleteMacro();
        return true;
    case 1020:
        if (Recording())
            StopRecording();
        else
            StartRecording();
        return true;
    case 1021:
        DeleteAction();
        return true;
    case 1022:
        ClearActions();
        return true;
    case 1023:
    case 1024:
    case 1025:
    case 1026:
        MoveAction(id);
        return true;
    case 1027:
        // The box shows what is stored: an option that could not be is told.
        ReportWriteFailures({WriteRecordDelayOption(ReadRecordDelayOption() == 0 ? 1 : 0)});
        m_recordDelay->setChecked(ReadRecordDelayOption() != 0);
        return true;
    default:
        return false;
    }
}

void CMacroTab::Select(int position) {
    StoreShownMacro();
    m_updatingCombo = true;
    m_combo->setCurrentIndex(position);
    m_updatingCombo = false;
    m_selected = position;
    ShowMacro();
}

void CMacroTab::OnSelectionChange(int position) {
    if (m_updatingCombo) return;
    StoreShownMacro();
    m_selected = position;
    ShowMacro();
}

void CMacroTab::ShowMacro() {
    m_actions->EndEdit(false);
    m_actions->DeleteAllItems();
    m_rows.clear();
    if (m_selected >= 0 && m_selected < static_cast<int>(m_list.size())) {
        const MacroRecord& macro = m_list[m_selected];
        SetLoopText(QString::number(macro.repeat));
        FillRows(macro);
    }
    UpdateButtons();
}

void CMacroTab::StoreShownMacro() {
    if (m_selected < 0 || m_selected >= static_cast<int>(m_list.size())) return;
    MacroRecord& macro = m_list[m_selected];
    // The low byte of what the edit holds, as the record keeps it (a count
    // read from a file stays as it was); an emptied edit counts as 1.
    const QString loops = m_loops->text();
    macro.repeat = loops.trimmed().isEmpty() ? 1 : static_cast<uint8_t>(LeadingNumber(loops));
    macro.actionCount = static_cast<uint16_t>(std::min(m_rows.size(), kMacroMaxActions));
    std::copy_n(m_rows.begin(), macro.actionCount, macro.actions.begin());
    std::fill(macro.actions.begin() + macro.actionCount, macro.actions.end(), MacroAction{});
}

void CMacroTab::UpdateButtons() {
    const bool selected = m_selected >= 0;
    for (CPngButton* button : m_buttons)
        if (button->ControlId() >= 1020 && button->ControlId() <= 1026) button->setEnabled(selected);
}

long long CMacroTab::LoopCount() const {
    return ClampRepeatCount(LeadingNumber(m_loops->text()));
}

bool CMacroTab::NameClashes(const QString& name, int skip) const {
    for (int i = 0; i < m_combo->count(); ++i)
        if (i != skip && m_combo->itemText(i).startsWith(name, Qt::CaseInsensitive)) return true;
    return false;
}

// The next "MACRO_NEW_PREFIX" + counter that begins no other macro's name
// (`skip` is the item being renamed).
std::u16string CMacroTab::GeneratedName(int skip) {
    const QString prefix = QString::fromStdString(Text("MACRO_NEW_PREFIX"));
    QString name;
    for (int tries = 0; tries < kNameSearchLimit; ++tries) {
        name = prefix + QString::number(++m_nameCounter);
        if (!NameClashes(name, skip)) break;
    }
    return CutMacroName(name.toStdU16String());
}

void CMacroTab::SetComboItem(int position, const QString& text) {
    m_updatingCombo = true;
    m_combo->setItemText(position, text);
    if (m_combo->currentIndex() != position) m_combo->setCurrentIndex(position);
    m_combo->setEditText(text);
    m_updatingCombo = false;
}

void CMacroTab::AddMacro() {
    if (m_list.size() >= kMacroMaxCount) {
        Prompt().MessageBox(FormatTextNumber(Text("MACRO_ERR_MAX"), static_cast<long long>(kMacroMaxCount)),
                            "", MB_OK | MB_ICONWARNING);
        return;
    }
    if (m_list.empty()) m_nameCounter = 0;
    AddMacroNamed(GeneratedName(-1), static_cast<int>(m_list.size()));
}

void CMacroTab::AddMacroNamed(const std::u16string& name, int position) {
    StoreShownMacro();
    MacroRecord record = NewMacroRecord(name, m_list);
    m_list.insert(m_list.begin() + position, record);
    m_updatingCombo = true;
    m_combo->insertItem(position, QString::fromStdU16String(MacroName(record)));
    m_combo->setCurrentIndex(position);
    m_updatingCombo = false;
    m_selected = position;
    ShowMacro();
    m_enableApply();
}

void CMacroTab::DeleteMacro() {
    if (m_list.empty() || m_selected < 0 || m_selected >= static_cast<int>(m_list.size())) return;
    StoreShownMacro();
    // Copies added since the last Apply carry the new flag: never asked about.
    if (!g_ConfigStore.IsMacroAssigned(m_list[m_selected], GetActiveProfile())) return;
    const int removed = m_selected;
    m_list.erase(m_list.begin() + removed);
    m_updatingCombo = true;
    m_combo->removeItem(removed);
    m_updatingCombo = false;
    m_selected = -1; // the removed macro's rows must not be stored anywhere
    Select(m_list.empty() ? -1 : std::max(0, removed - 1));
    m_enableApply();
}

void CMacroTab::Rename(const QString& typed) {
    if (m_updatingCombo) return;
    const QString text = typed.left(kMacroNameReadChars);
    const bool generated = text.isEmpty() || text.startsWith(QLatin1Char(' '));
    if (m_list.empty()) {
        m_nameCounter = 0;
        AddMacroNamed(generated ? GeneratedName(-1) : CutMacroName(text.toStdU16String()), 0);
        m_combo->setEditText(QString::fromStdU16String(MacroName(m_list[0])));
        return;
    }
    const int position = m_selected >= 0 ? m_selected : 0;
    std::u16string name = CutMacroName(text.toStdU16String());
    if (generated || NameClashes(QString::fromStdU16String(name), position)) name = GeneratedName(position);
    SetMacroName(m_list[position], name);
    m_selected = position;
    const QString shown = QString::fromStdU16String(name);
    if (shown == typed) {
        // Keep the cursor where the user types.
        const int cursor = m_combo->lineEdit()->cursorPosition();
        m_updatingCombo = true;
        m_combo->setItemText(position, shown);
        m_updatingCombo = false;
        m_combo->lineEdit()->setCursorPosition(cursor);
    } else {
        SetComboItem(position, shown);
    }
    m_enableApply();
}

void CMacroTab::SetLoopText(const QString& text) {
    m_settingLoops = true;
    m_loops->setText(text);
    m_settingLoops = false;
}

void CMacroTab::OnLoopCountEdited(const QString& text) {
    // Showing a macro is no edit; an emptied edit is left for the user to
    // type into (it reads as 1).
    if (m_settingLoops || text.trimmed().isEmpty()) return;
    const QString corrected = QString::number(ClampRepeatCount(LeadingNumber(text)));
    if (corrected != text) SetLoopText(corrected);
    m_enableApply();
}

bool CMacroTab::StoreList(CKeyButtonView& view) {
    m_actions->EndEdit(true);
    StopRecording();
    StoreShownMacro();
    bool changed = false;
    if (!g_ConfigStore.CommitMacroList(m_list, &changed, &view)) return false;
    for (MacroRecord& macro : m_list)
        macro.newFlag = 0;
    return true;
}

void CMacroTab::FreeAll() {
    StopRecording();
    m_actions->EndEdit(false);
    m_actions->DeleteAllItems();
    m_rows.clear();
    m_updatingCombo = true;
    m_combo->clear();
    m_updatingCombo = false;
    m_list.clear();
    m_list.shrink_to_fit();
    m_selected = -1;
    UpdateButtons();
}

} // namespace orvane
