#pragma once
// A lighting host that records what it was asked to show ("select;",
// "image-on;", "panel-6;" ...) and lets a switch happen unless told not to.
#include <string>

#include "model/LightingModel.h"

namespace orvane::test {

class CRecordingLightingHost final : public CLightingHost {
  public:
    bool ReselectActiveProfile() override {
        log += "select;";
        return selectSucceeds;
    }
    void ShowSwitchImage(bool on) override { log += on ? "image-on;" : "image-off;"; }
    void ShowPanelControls(int mode) override { log += "panel-" + std::to_string(mode) + ";"; }
    void HidePanelControls() override { log += "panel-hidden;"; }
    void RefreshKeyTooltips() override { log += "tooltips;"; }
    bool selectSucceeds = true;
    std::string log;
};

} // namespace orvane::test
