#include "mainwnd/MainWindowButtonTable.h"

#include "mainwnd/MainWindowIds.h"

namespace orvane {
namespace {

using S = CaptionStyle;

constexpr MainButtonInfo kButtons[] = {
    {IDC_OK, "CONTROL_OK", "PROFILE_OK", S::Small},
    {IDC_CANCEL, "CONTROL_CANCEL", "PROFILE_CANCLE", S::Small},
    {IDC_APPLY, "CONTROL2_APPLY", "PROFILE_APPLY", S::Small},
    {IDC_PROFILE_MANAGER, "FUNC_PROFILES", nullptr, S::Profile},
    {IDC_MACRO, "FUNC_MACRO", "PROFILE_MACRO", S::Large},
    {IDC_WEB_ADDRESS, "DAVARU_LINK", nullptr, S::None},
    {IDC_HELP, "CONTROL_HELP", nullptr, S::None},
    {IDC_MINIMISE, "CONTROL_MINIMIZE", nullptr, S::None},
    {IDC_CLOSE, "CONTROL_CLOSE", nullptr, S::None},
    {IDC_MENU, "CONTROL_MENU", nullptr, S::None},
    {IDC_LOCK_CAPS, "LOCK_CAPS", nullptr, S::None},
    {IDC_LOCK_NUM, "LOCK_NUM", nullptr, S::None},
    {IDC_LOCK_SCROLL, "LOCK_SCROLL", nullptr, S::None},
    {IDC_LOCK_AB, "LOCK_AB", nullptr, S::None},
    {IDC_FLIP_0, "FLIP_0", nullptr, S::None},
    {IDC_FLIP_1, "FLIP_1", nullptr, S::None},
    {IDC_FLIP_2, "FLIP_2", nullptr, S::None},
    {IDC_VERSION, "DAVARU_VER", nullptr, S::Version},
    {IDC_PROFILE_1, "FUNC_PROFILE1", "PROFILE_1", S::Large},
    {IDC_PROFILE_2, "FUNC_PROFILE2", "PROFILE_2", S::Large},
    {IDC_PROFILE_3, "FUNC_PROFILE3", "PROFILE_3", S::Large},
    {IDC_DEFAULT, "FUNC_DEFAULT", "PROFILE_DEFAULT", S::Small},
    {IDC_SWITCH, "FUNC_SWITCH", nullptr, S::None},
    {IDC_REPORT_1, "FUNC_REPORT1", nullptr, S::None},
    {IDC_REPORT_2, "FUNC_REPORT2", nullptr, S::None},
    {IDC_REPORT_3, "FUNC_REPORT3", nullptr, S::None},
    {IDC_REPORT_4, "FUNC_REPORT4", nullptr, S::None},
};

constexpr MainButtonInfo kLinkButtons[] = {
    {IDC_LINK_SITE, "CONTROL_Network", nullptr, S::None},
    {IDC_LINK_FACEBOOK, "CONTROL_Facebook", nullptr, S::None},
    {IDC_LINK_TWITTER, "CONTROL_twitter", nullptr, S::None},
};

} // namespace

std::span<const MainButtonInfo> MainWindowButtons() {
    return kButtons;
}
std::span<const MainButtonInfo> MainWindowLinkButtons() {
    return kLinkButtons;
}

} // namespace orvane
