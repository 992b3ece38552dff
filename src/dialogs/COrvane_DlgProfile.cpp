#include "dialogs/COrvane_DlgProfile.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

#include "app/SkinReaders.h"
#include "dialogs/ProfileNames.h"
#include "model/ProfileFile.h"
#include "model/UserData.h"
#include "services/Language.h"
#include "services/PathTable.h"
#include "services/Prompt.h"
#include "services/WriteFailureReport.h"
#include "transfer/ActiveProfile.h"
#include "transfer/Apply.h"
#include "transfer/KeyboardBackup.h"
#include "transfer/ProfileFileCommands.h"
#include "transfer/TransferHost.h"
#include "ui/PngButton.h"
#include "ui/ReportCtrl.h"
#include "ui/SkinImage.h"
#include "ui/SkinTargets.h"

namespace orvane {
namespace {

enum { FACE_PIC_NORMAL = 0, FACE_PIC_OVER, FACE_PIC_DOWN, FACE_PIC_DIMMED };

const char* const kFacePictures[3] = {"Skins/Profile_normal.jpg", "Skins/Profile_over.jpg",
                                      "Skins/Profile_down.jpg"};

const QString kActiveMark = QStringLiteral("\u2713");
constexpr int kNameColumn = 1;

// The list in the colours of the dialog's skin.
const char* const kListStyle =
    "QTableWidget { background: #101216; color: #e4e4e4; gridline-color: #3a3e46; border: none;"
    " selection-background-color: #ff8200; selection-color: #101216; }"
    "QHeaderView::section { background: #23262c; color: #e4e4e4; border: 0px;"
    " border-right: 1px solid #3a3e46; padding: 3px; }";

struct ButtonPlace {
    int id;
    const char* skinKey;
    const char* tooltipKey;
};
const ButtonPlace kButtons[] = {
    {IDC_PROFILE_OK, "CONTROL_OK", nullptr},          {IDC_PROFILE_CANCEL, "CONTROL_CANCEL", nullptr},
    {IDC_PROFILE_ADD, "FUNC_ADD", "PROFILE_ADD_TIP"}, {IDC_PROFILE_LOAD, "FUNC_LOAD", "PROFILE_LOAD_TIP"},
    {IDC_PROFILE_DELETE, "FUNC_DELETE", nullptr},     {IDC_PROFILE_APPLY, "CONTROL2_APPLY", nullptr},
};

// The skin has no disabled picture; a dimmed normal one shows that Apply has
// nothing to write.
QPixmap Dimmed(const QPixmap& normal) {
    if (normal.isNull()) return {};
    QPixmap out(normal.size());
    out.fill(Qt::black);
    QPainter painter(&out);
    painter.setOpacity(0.45);
    painter.drawPixmap(0, 0, normal);
    return out;
}

} // namespace

COrvane_DlgProfile::COrvane_DlgProfile(QWidget* parent)
    : CBaseDialog(parent, Paths().ProfileSkinFile, Paths().ProfileSkinFolder) {
    setWindowModality(Qt::ApplicationModal);
    m_list = new CReportCtrl(this, IDC_PROFILE_LIST);
    m_list->InsertColumn(0, QString::fromStdString(Text("PROFILE_LIST_ACTIVE")), Qt::AlignLeft, 60);
    m_list->InsertColumn(1, QString::fromStdString(Text("PROFILE_LIST_NAME")), Qt::AlignLeft, 120);
    m_list->InsertColumn(2, QString::fromStdString(Text("PROFILE_LIST_FOLDER")), Qt::AlignLeft, 230);
    m_list->SetGridLines(true);
    // The folder column takes the rest of the list, so long paths show.
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setStyleSheet(QLatin1String(kListStyle));
    // A second click on a chosen row (or a double click) makes it the
    // active profile once Apply is pressed; on the name of an on-board
    // profile it opens the name for editing instead, kept by Apply too.
    m_list->SetEditable(true);
    m_list->SetCallbacks(
        [this](CReportCtrl* list, int row, int column, unsigned*, void*) {
            const bool onBoard =
                row >= 0 && row < static_cast<int>(m_rows.size()) && m_rows[row].profile >= 0;
            if (onBoard && column == kNameColumn) return 1;
            list->EndEdit(false);
            if (onBoard && row != m_activeRow) {
                MarkActiveRow(row);
                SetApplyPending(true);
            }
            return 0;
        },
        [this](CReportCtrl*, int row, int, QString* text, void*) {
            if (row < 0 || row >= static_cast<int>(m_rows.size())) return 0;
            std::string name = CleanProfileName(text->toStdString());
            if (name.empty()) name = ProfileName(m_rows[row].profile);
            *text = QString::fromStdString(name);
            SetApplyPending(true);
            return 1;
        },
        nullptr);

    for (const ButtonPlace& place : kButtons) {
        auto* button = new CPngButton(this, place.id);
        button->setAutoDefault(false);
        m_buttons.push_back(button);
    }
    auto* unused = new CPngButton(this, IDC_PROFILE_UNUSED);
    unused->setAutoDefault(false);
    unused->hide();
    m_buttons.push_back(unused);

    connect(Button(IDC_PROFILE_OK), &QPushButton::clicked, this, [this] { OnOK(); });
    connect(Button(IDC_PROFILE_CANCEL), &QPushButton::clicked, this, [this] { OnCancel(); });
    connect(Button(IDC_PROFILE_ADD), &QPushButton::clicked, this, [this] { AddProfile(); });
    connect(Button(IDC_PROFILE_LOAD), &QPushButton::clicked, this, [this] { LoadProfile(); });
    connect(Button(IDC_PROFILE_DELETE), &QPushButton::clicked, this, [this] { RemoveRow(); });
    connect(Button(IDC_PROFILE_APPLY), &QPushButton::clicked, this, [this] { Apply(); });
}

COrvane_DlgProfile::~COrvane_DlgProfile() {
    if (OpenProfileManager() == this) SetOpenProfileManager(nullptr);
}

CPngButton* COrvane_DlgProfile::Button(int controlId) const {
    for (CPngButton* button : m_buttons)
        if (button->ControlId() == controlId) return button;
    return nullptr;
}

bool COrvane_DlgProfile::OnInitDialog() {
    CBaseDialog::OnInitDialog();
    m_openScope.emplace();
    SetOpenProfileManager(this);
    LoadFaces();
    LayOut();
    FillList();
    return true;
}

void COrvane_DlgProfile::LoadFaces() {
    if (m_faces[FACE_PIC_NORMAL]) return;
    const QString folder = QString::fromStdString(Paths().ProgramFolder);
    for (int i = 0; i < 3; ++i) {
        // Without its pictures the dialog cannot be drawn: this ends the process.
        m_faces[i] = std::make_unique<CSkinFace>();
        RenderImageToDC(*m_faces[i], LoadPictureFile(folder + kFacePictures[i]), size());
    }
    const CSkinFace& normal = *m_faces[FACE_PIC_NORMAL];
    m_faces[FACE_PIC_DIMMED] = std::make_unique<CSkinFace>(Dimmed(normal.Pixmap()), normal.Extent());
}

void COrvane_DlgProfile::LayOut() {
    const std::string& skin = SkinFile();
    const SkinFaceSet faces = {m_faces[FACE_PIC_NORMAL].get(), m_faces[FACE_PIC_OVER].get(),
                               m_faces[FACE_PIC_DOWN].get(), m_faces[FACE_PIC_DIMMED].get(),
                               m_faces[FACE_PIC_NORMAL].get()};
    for (const ButtonPlace& place : kButtons) {
        CPngButton* button = Button(place.id);
        const SkinRect rect = SkinPlaceButton(*button, skin, place.skinKey, faces);
        if (place.id == IDC_PROFILE_APPLY) m_applyPlaced = !rect.IsUnplaced();
        if (place.tooltipKey) button->SetTooltipText(QString::fromStdString(Text(place.tooltipKey)), true);
    }
    PlaceControl(m_list, skin, "PROGRAM_LIST");
}

void COrvane_DlgProfile::FillList() {
    m_list->DeleteAllItems();
    m_rows.clear();
    m_activeRow = -1;
    for (const ProfileListRow& row : WorkingProfileRows())
        AppendRow(row);
    MarkActiveRow(RowOfProfile(GetActiveProfile()));
    SetApplyPending(false);
}

void COrvane_DlgProfile::AppendRow(const ProfileListRow& row) {
    const int index = m_list->InsertItem(m_list->GetItemCount());
    const std::string name = row.profile >= 0 ? ProfileName(row.profile) : ProfileRowName(row.path);
    m_list->SetItemText(index, kNameColumn, QString::fromStdString(name));
    m_list->SetItemText(index, 2, QString::fromStdString(ProfileRowFolder(row.path)));
    m_rows.push_back(row);
}

void COrvane_DlgProfile::MarkActiveRow(int row) {
    if (m_activeRow >= 0 && m_activeRow < m_list->GetItemCount())
        m_list->SetItemText(m_activeRow, 0, QString());
    m_activeRow = row >= 0 && row < m_list->GetItemCount() ? row : -1;
    if (m_activeRow >= 0) m_list->SetItemText(m_activeRow, 0, kActiveMark);
}

int COrvane_DlgProfile::RowOfProfile(int profile) const {
    if (profile < 0) return -1;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].profile == profile) return static_cast<int>(i);
    return -1;
}

void COrvane_DlgProfile::SetApplyPending(bool pending) {
    m_applyPending = pending;
    // A button the skin leaves unplaced stays disabled.
    if (m_applyPlaced) Button(IDC_PROFILE_APPLY)->setEnabled(pending);
}

void COrvane_DlgProfile::AddProfile() {
    ReportWriteFailures(EnsureUserFolder());
    const std::string start = UserFolderPath() + "/" + Text("PROFILE_NEW");
    const std::optional<std::string> path =
        Prompt().SaveFileName(ProfileFileFilter(), kProfileFileExtension, start);
    if (!path || path->empty()) return;
    // A row for a file that is not there would be recorded by Apply as if it were.
    if (CreateBlankProfile(&*path, 0) != 1) {
        Prompt().MessageBox(FormatTextString(Text("MAIN_PROMPT_EXPORT"), *path), "", MB_OK | MB_ICONWARNING);
        return;
    }
    AppendRow({*path, -1});
    SetApplyPending(true);
}

void COrvane_DlgProfile::LoadProfile() {
    const std::string start = UserFolderPath() + "/" + kProfileFilePattern;
    const std::optional<std::string> path =
        Prompt().OpenFileName(ProfileFileFilter(), kProfileFileExtension, start);
    if (!path || path->empty()) return;
    AppendRow({*path, -1});
    SetApplyPending(true);
}

void COrvane_DlgProfile::RemoveRow() {
    const int row = m_list->GetFirstSelectedItem();
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    m_list->DeleteItem(row, true);
    m_rows.erase(m_rows.begin() + row);
    if (m_activeRow == row)
        m_activeRow = -1;
    else if (m_activeRow > row)
        --m_activeRow;
    SetApplyPending(true);
}

bool COrvane_DlgProfile::Apply() {
    // Reading the keyboard back replaces the working copy: key changes not
    // yet sent would be lost without a word, so the user decides first.
    const bool sendFirst = TransferHost().ApplyPending() &&
                           Prompt().MessageBox(Text("PROFILE_SELECT_PROMPT"), "",
                                               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    if (!ReportWriteFailures({WriteProfileList(m_rows)})) return false;
    StoreProfileNames();
    // The mark follows its row, not its position: deleting a row above it
    // must not switch to another profile.
    const int profile = m_activeRow >= 0 ? m_rows[m_activeRow].profile : -1;
    const char* failure = nullptr;
    ApplyOutcome applied;
    const auto work = [&failure, &applied, profile, sendFirst] {
        // Each step needs the one before: a read-back after a failed send
        // would drop the changes the user chose to send.
        if (sendFirst && !(applied = orvane::Apply(ApplyNotice::ToCaller)).Succeeded())
            failure = "PROFILE_APPLY_FAILED";
        else if (profile >= 0 && SetActiveProfile(profile) != 1)
            failure = "PROFILE_SWITCH_FAILED";
        else if (LoadKeyboardProfile(UnsentChanges::Discard) != 1)
            failure = "PROFILE_READ_FAILED";
    };
    if (m_runTransfer)
        m_runTransfer(work);
    else
        work();
    RebuildProfileMenu();
    // Closed meanwhile: the keyboard went away, and with it the manager.
    if (!IsOpen()) return false;
    if (failure) {
        Prompt().MessageBox(ApplyFailureText(applied, failure), "", MB_OK | MB_ICONWARNING);
        return false;
    }
    SetApplyPending(false);
    return true;
}

void COrvane_DlgProfile::StoreProfileNames() {
    std::vector<WriteResult> results;
    for (size_t row = 0; row < m_rows.size(); ++row)
        if (m_rows[row].profile >= 0)
            results.push_back(SetProfileName(
                m_rows[row].profile, m_list->GetItemText(static_cast<int>(row), kNameColumn).toStdString()));
    ReportWriteFailures(results);
}

void COrvane_DlgProfile::FollowProfileSwitch(int activeProfile) {
    MarkActiveRow(RowOfProfile(activeProfile));
    SetApplyPending(false);
}

void COrvane_DlgProfile::OnOK() {
    if (!IsOpen() || !Apply()) return;
    Close();
    CBaseDialog::OnOK();
}

void COrvane_DlgProfile::OnCancel() {
    if (!IsOpen()) return;
    Close();
    CBaseDialog::OnCancel();
}

void COrvane_DlgProfile::CancelIfOpen() {
    if (IsOpen()) OnCancel();
}

void COrvane_DlgProfile::Close() {
    m_applyPending = false;
    m_openScope.reset();
    if (OpenProfileManager() == this) SetOpenProfileManager(nullptr);
}

void COrvane_DlgProfile::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept(); // an editor dialog closes only by its buttons
        return;
    default:
        CBaseDialog::keyPressEvent(event);
    }
}

} // namespace orvane
