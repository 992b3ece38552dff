#pragma once
// The per-user registry key "Software\\Brislane " (trailing space included),
// held open for the life of the process. When it could be neither opened nor
// created it stays without a handle and every read or write through it fails
// quietly.
#include "platform/Registry.h"

namespace orvane {

constexpr const char* kUserRegKeyPath = "Software\\Brislane "; // the trailing space is part of the name

CRegistryKey& UserRegKey();
bool OpenUserRegKey();

// The framework's settings root and the program's display title under it.
constexpr const char* kSettingsRoot = "Orvane_Quenlo";
constexpr const char* kDisplayTitle = "Orvane";

} // namespace orvane
