#include "dialogs/FlipSetting.h"

#include "platform/Registry.h"
#include "services/WriteFailureReport.h"

namespace orvane {

int ReadFlip() {
    return GetProfileInt(kFlipSection, kFlipValueName, 0);
}

int ToggleFlip() {
    const int next = ReadFlip() == 0 ? 1 : 0;
    ReportWriteFailures({WriteProfileString(kFlipSection, kFlipValueName, std::to_string(next))});
    return next;
}

FlipLayout LayoutForFlip(int flip) {
    FlipLayout layout;
    layout.fKeysEnabled = flip == 0;
    layout.extraKeysEnabled = flip != 0;
    layout.arrowsUp = flip != 0;
    return layout;
}

std::string ArrowFaceKey(bool leftArrow, int flip) {
    std::string key = flip != 0 ? "UP_ARROW_" : "DOWN_ARROW_";
    key += leftArrow ? "LEFT" : "RIGHT";
    return key + "1";
}

std::vector<int> ButtonsRedrawnAfterFlip0(int flip) {
    std::vector<int> ids;
    // A stored value other than 0 and 1 enables the six buttons, so they are
    // the ones drawn over 1129 then.
    if (flip == 0)
        ids.assign(kFlipFKeyButtons.begin(), kFlipFKeyButtons.end());
    else
        ids.assign(kFlipExtraButtons.begin(), kFlipExtraButtons.end());
    ids.insert(ids.end(), kFlipTrailingButtons.begin(), kFlipTrailingButtons.end());
    return ids;
}

} // namespace orvane
