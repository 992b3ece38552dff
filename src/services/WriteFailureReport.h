#pragma once
// Telling the user what one action could not save: every file that failed,
// with its path and the system's reason, in one message.
#include <initializer_list>
#include <span>
#include <string>

#include "platform/WriteResult.h"

namespace orvane {

// The text for the failures among `results` ("FILE_SAVE_FAILED" with the
// path, then "FILE_SAVE_REASON" with the reason, for each); empty when every
// write was done.
std::string WriteFailureText(std::span<const WriteResult> results);

// Shows that text once, as a warning; true (and nothing shown) when every
// write was done. Call it without holding a lock: it waits for the user.
bool ReportWriteFailures(std::span<const WriteResult> results);
bool ReportWriteFailures(std::initializer_list<WriteResult> results);

} // namespace orvane
