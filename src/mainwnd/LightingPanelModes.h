#pragma once
// Which lighting-panel controls each mode shows, where the direction group
// sits and which direction pictures it shows: the constant tables of the
// lighting panel.
#include <cstdint>
#include <span>
#include <string>

namespace orvane {

// Mode 19 is never sent: the list keeps it selectable, but selecting it
// changes nothing on the keyboard and shows only the list.
constexpr int kUnsentMode = 19;

// Every control the mode table governs, in panel order.
std::span<const int> ModeTableControls();
// Whether `controlId` (one of ModeTableControls) is shown in `mode`.
bool ModeShowsControl(int mode, int controlId);

// The direction group's position set: 2 for modes 1-3, 3 for mode 12, 1
// (the plain set) for every other mode.
int DirectionPositionSet(int mode);

// The pictures of the two direction buttons for `mode` and `direction`; the
// pressed picture marks the button whose direction is in force.
struct DirectionPictures {
    const char* first;  // the 255 button
    const char* second; // the 0 button
};
DirectionPictures DirectionPicturesFor(int mode, uint8_t direction);

// Slider pictures, named by number: brightness position p shows p, speed
// position p shows 6 + p.
std::string BrightnessPicture(int position);
std::string SpeedPicture(int position);

} // namespace orvane
