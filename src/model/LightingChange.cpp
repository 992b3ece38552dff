#include "model/LightingChange.h"

#include <span>

#include "model/LightingRecord.h"

namespace orvane {

bool LightingChange::Supersedes(const LightingChange& other) const {
    if (profile != other.profile || count != other.count) return false;
    for (size_t i = 0; i < count; ++i)
        if (fields[i].offset != other.fields[i].offset || fields[i].count != other.fields[i].count)
            return false;
    return true;
}

LightingResult SendLightingChange(CLightingPort& port, const LightingChange& change) {
    LightingResult result;
    if (change.profile < 0 || change.profile >= kLightingProfileCount || change.count > change.fields.size())
        return {0, 0};
    const size_t base = static_cast<size_t>(change.profile) * kLightingRecordSize;
    if (const int begin = port.BeginSession(); begin != 1) return {begin, 0};
    for (size_t i = 0; i < change.count; ++i) {
        const FieldWrite& w = change.fields[i];
        if (w.count == 0 || w.count > w.bytes.size() || w.offset + w.count > kLightingRecordSize) {
            result.status = 0;
            break;
        }
        const int r = port.WriteLighting(std::span<const uint8_t>(w.bytes.data(), w.count),
                                         static_cast<uint16_t>(base + w.offset));
        if (r != 1) {
            result.status = r;
            break;
        }
        ++result.taken;
    }
    const int end = port.EndSession();
    if (result.status == 1) result.status = end;
    return result;
}

} // namespace orvane
