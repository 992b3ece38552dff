#pragma once
// What screen readers (AT-SPI through QAccessible) learn of the skinned
// controls: image buttons and links are named by caption, tooltip or the
// owner's accessible name and can be pressed; a slider reports its label and
// its value and can be set; a colour picker tells its colour.
namespace orvane {

// Registers the controls' accessibility interfaces; the controls call it
// from their constructors, so it runs once per process before any is built.
void EnsureControlAccessibility();

} // namespace orvane
