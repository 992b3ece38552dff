#include "platform/WriteResult.h"

#include <cerrno>
#include <cstring>

namespace orvane {

WriteResult WriteFailed(std::string path, int error) {
    return {std::move(path), error != 0 ? error : EIO};
}

std::string WriteResult::Reason() const {
    char buffer[256];
    // The GNU form: returns the text, which need not be in the buffer.
    return ::strerror_r(error, buffer, sizeof buffer);
}

} // namespace orvane
