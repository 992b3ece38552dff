#pragma once
// The profile tests' prompt: scripted answers and queued file names.
#include "support/ScriptedPrompt.h"

namespace orvane::test {

using CFilePrompt = testing::CScriptedPrompt;

} // namespace orvane::test
