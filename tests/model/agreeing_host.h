#pragma once
// A lighting host that lets every switch happen and shows nothing, for tests
// that only look at the keyboard or the files.
#include "model/LightingModel.h"

namespace orvane::test {

class CAgreeingHost final : public CLightingHost {
  public:
    bool ReselectActiveProfile() override { return true; }
    void ShowSwitchImage(bool) override {}
    void ShowPanelControls(int) override {}
    void HidePanelControls() override {}
    void RefreshKeyTooltips() override {}
};

} // namespace orvane::test
