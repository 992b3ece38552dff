#pragma once
// The profile manager: lists the working profile files of the keyboard's
// three profiles with the active one marked, lets the user list further
// files (new blank ones or existing ones) and choose the active profile, and
// on Apply records the list in the settings and switches the keyboard.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "dialogs/EditorOpenCounts.h"
#include "dialogs/ProfileList.h"
#include "dialogs/ProfileSwitch.h"
#include "ui/BaseDialog.h"
#include "ui/SkinFace.h"

namespace orvane {

class CPngButton;
class CReportCtrl;

// Control ids.
constexpr int IDC_PROFILE_LIST = 1007;
constexpr int IDC_PROFILE_ADD = 1010;
constexpr int IDC_PROFILE_LOAD = 1008;
constexpr int IDC_PROFILE_DELETE = 1011;
constexpr int IDC_PROFILE_APPLY = 1012;
constexpr int IDC_PROFILE_UNUSED = 1013;
constexpr int IDC_PROFILE_OK = 1;
constexpr int IDC_PROFILE_CANCEL = 2;

class COrvane_DlgProfile : public CBaseDialog, public CProfileManagerView {
    Q_OBJECT
  public:
    explicit COrvane_DlgProfile(QWidget* parent = nullptr);
    ~COrvane_DlgProfile() override;

    bool OnInitDialog() override;
    void OnOK() override;     // Apply, then close; open still when Apply failed
    void OnCancel() override; // close without writing anything

    // The commands of the buttons. Apply is true when the list was recorded
    // and the keyboard took the switch and was read back; otherwise the
    // user has been told and the list's changes stay pending.
    void AddProfile();
    void LoadProfile();
    void RemoveRow();
    bool Apply();
    // Runs the keyboard's part of Apply so that the window keeps painting
    // (the main window's transfer runner); unset, it runs in place.
    using TransferRunner = std::function<void(const std::function<void()>&)>;
    void SetTransferRunner(TransferRunner runner) { m_runTransfer = std::move(runner); }
    // The keyboard has gone: the main window closes the manager, as Cancel.
    void CancelIfOpen();

    bool IsOpen() const { return m_openScope.has_value(); }
    bool ApplyPendingFlag() const { return m_applyPending; }
    const std::vector<ProfileListRow>& Rows() const { return m_rows; }
    int ActiveRow() const { return m_activeRow; }
    CReportCtrl& List() { return *m_list; }
    CPngButton* Button(int controlId) const;

    // CProfileManagerView
    bool ListChangesPending() const override { return m_applyPending; }
    void FollowProfileSwitch(int activeProfile) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void LoadFaces();
    void LayOut();
    void FillList();
    void AppendRow(const ProfileListRow& row);
    void MarkActiveRow(int row);
    void SetApplyPending(bool pending);
    int RowOfProfile(int profile) const;
    void Close();
    // The names typed into the list's name cells of the on-board profiles.
    void StoreProfileNames();

    CReportCtrl* m_list = nullptr;
    std::vector<CPngButton*> m_buttons;
    // Normal, hover, pressed and disabled faces: made at the first opening
    // and kept for the life of the dialog object.
    std::array<std::unique_ptr<CSkinFace>, 4> m_faces;
    std::vector<ProfileListRow> m_rows;
    int m_activeRow = -1;
    bool m_applyPending = false;
    bool m_applyPlaced = false;
    std::optional<CProfileManagerOpenScope> m_openScope;
    TransferRunner m_runTransfer;
};

} // namespace orvane
