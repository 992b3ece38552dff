#pragma once
// What a write of a file left behind: done, or the file that could not be
// written and the system's reason, so the user can be told both.
#include <string>
#include <utility>

namespace orvane {

struct WriteResult {
    std::string path; // the file or folder written
    int error = 0;    // an errno value; 0 when it was written
    explicit operator bool() const { return error == 0; }
    // The system's wording of `error` ("Permission denied").
    std::string Reason() const;
};

inline WriteResult Written(std::string path) {
    return {std::move(path), 0};
}
// `error` 0 (a caller that lost errno) still counts as a failure.
WriteResult WriteFailed(std::string path, int error);

} // namespace orvane
