#include "device/HidDescriptor.h"

#include <algorithm>

namespace orvane {
namespace {

// Bounds that no real keyboard comes near; they keep hostile descriptors
// from making us allocate or loop without end.
constexpr unsigned kMaxDepth = 32;
constexpr unsigned kMaxPush = 16;
constexpr unsigned kMaxLocalUsages = 1024;
constexpr uint32_t kMaxReportBits = 4095 * 8; // hidraw moves at most 4096 bytes with the id
constexpr size_t kMaxFields = 4096;

struct Globals {
    uint16_t UsagePage = 0;
    int32_t LogicalMin = 0, LogicalMax = 0;
    bool LogicalMaxUnsigned = false;
    int32_t PhysicalMin = 0, PhysicalMax = 0;
    uint32_t ReportSize = 0, ReportCount = 0;
    uint8_t ReportID = 0;
};

struct Locals {
    std::vector<uint32_t> Usages; // page in the high word when given with 4 bytes
    bool HasMin = false, HasMax = false;
    uint32_t UsageMin = 0, UsageMax = 0;
    void Clear() { *this = Locals(); }
};

uint32_t Unsigned(const uint8_t* d, unsigned size) {
    uint32_t v = 0;
    for (unsigned i = 0; i < size; ++i)
        v |= static_cast<uint32_t>(d[i]) << (8 * i);
    return v;
}

int32_t Signed(const uint8_t* d, unsigned size) {
    uint32_t v = Unsigned(d, size);
    if (size == 1) return static_cast<int8_t>(v);
    if (size == 2) return static_cast<int16_t>(v);
    return static_cast<int32_t>(v);
}

uint32_t FullUsage(uint32_t usage, unsigned size, uint16_t page) {
    return size == 4 ? usage : (static_cast<uint32_t>(page) << 16) | (usage & 0xFFFF);
}

uint32_t ExtractBits(std::span<const uint8_t> report, uint32_t bitOffset, uint32_t bitSize) {
    uint32_t v = 0;
    for (uint32_t i = 0; i < bitSize; ++i) {
        uint32_t bit = bitOffset + i;
        uint32_t byte = 1 + bit / 8; // data starts after the report id byte
        if (report[byte] & (1u << (bit % 8))) v |= 1u << i;
    }
    return v;
}

bool FieldMatches(const HidField& f, HidReportKind kind, const HidPreparsedData& pp,
                  std::span<const uint8_t> report) {
    if (f.Kind != kind || f.IsConstant()) return false;
    return !pp.UsesReportIds || f.ReportID == report[0];
}

// The report must be present and as long as the descriptor says.
int32_t CheckReport(HidReportKind kind, const HidPreparsedData& pp, std::span<const uint8_t> report) {
    if (report.empty()) return HIDP_STATUS_INVALID_REPORT_LENGTH;
    uint8_t id = pp.UsesReportIds ? report[0] : 0;
    uint16_t need = pp.ReportBytes[static_cast<int>(kind)][id];
    if (need == 0) return HIDP_STATUS_REPORT_DOES_NOT_EXIST;
    if (report.size() < need) return HIDP_STATUS_INVALID_REPORT_LENGTH;
    return HIDP_STATUS_SUCCESS;
}

// Index of `usage` among a variable field's elements, or -1.
int ElementOf(const HidField& f, uint16_t usage) {
    if (f.IsRange) {
        if (usage < f.UsageMin || usage > f.UsageMax) return -1;
        uint32_t i = usage - f.UsageMin;
        return i < f.Count ? static_cast<int>(i) : -1;
    }
    for (size_t i = 0; i < f.Usages.size(); ++i)
        if (f.Usages[i] == usage) return i < f.Count ? static_cast<int>(i) : -1;
    return -1;
}

// The usage of element i of a variable field (the last usage repeats).
uint16_t UsageOfElement(const HidField& f, uint32_t i) {
    if (f.IsRange) return static_cast<uint16_t>(std::min<uint32_t>(f.UsageMin + i, f.UsageMax));
    if (f.Usages.empty()) return 0;
    return f.Usages[std::min<size_t>(i, f.Usages.size() - 1)];
}

} // namespace

int ParseReportDescriptor(std::span<const uint8_t> d, std::vector<HidPreparsedData>& collections) {
    collections.clear();
    Globals g;
    std::vector<Globals> stack;
    Locals l;
    unsigned depth = 0;
    bool anyReportId = false;
    // Per collection, the bits used so far in each report.
    std::vector<std::vector<uint32_t>> bits; // [collection][kind*256 + id]
    size_t i = 0;
    while (i < d.size()) {
        uint8_t prefix = d[i];
        if (prefix == 0xFE) { // long item: skipped, but its length must fit
            if (d.size() - i < 3) return HID_DESCRIPTOR_MALFORMED;
            size_t len = d[i + 1];
            if (d.size() - i - 3 < len) return HID_DESCRIPTOR_MALFORMED;
            i += 3 + len;
            continue;
        }
        unsigned size = prefix & 3;
        if (size == 3) size = 4;
        if (d.size() - i - 1 < size) return HID_DESCRIPTOR_MALFORMED;
        const uint8_t* data = d.data() + i + 1;
        unsigned type = (prefix >> 2) & 3, tag = prefix >> 4;
        uint32_t u = Unsigned(data, size);
        i += 1 + size;

        if (type == 1) { // global
            switch (tag) {
            case 0:
                g.UsagePage = static_cast<uint16_t>(u);
                break;
            case 1:
                g.LogicalMin = Signed(data, size);
                break;
            case 2:
                g.LogicalMax = Signed(data, size);
                g.LogicalMaxUnsigned = static_cast<int32_t>(u) >= 0 && size < 4;
                if (g.LogicalMaxUnsigned) g.LogicalMax = static_cast<int32_t>(u);
                break;
            case 3:
                g.PhysicalMin = Signed(data, size);
                break;
            case 4:
                g.PhysicalMax = Signed(data, size);
                break;
            case 7:
                g.ReportSize = u;
                break;
            case 8:
                if (u == 0 || u > 255) return HID_DESCRIPTOR_MALFORMED;
                g.ReportID = static_cast<uint8_t>(u);
                anyReportId = true;
                break;
            case 9:
                g.ReportCount = u;
                break;
            case 10:
                if (stack.size() >= kMaxPush) return HID_DESCRIPTOR_MALFORMED;
                stack.push_back(g);
                break;
            case 11:
                if (stack.empty()) return HID_DESCRIPTOR_MALFORMED;
                g = stack.back();
                stack.pop_back();
                break;
            default:
                break;
            }
            continue;
        }
        if (type == 2) { // local
            switch (tag) {
            case 0:
                if (l.Usages.size() >= kMaxLocalUsages) return HID_DESCRIPTOR_MALFORMED;
                l.Usages.push_back(FullUsage(u, size, g.UsagePage));
                break;
            case 1:
                l.HasMin = true;
                l.UsageMin = FullUsage(u, size, g.UsagePage);
                break;
            case 2:
                l.HasMax = true;
                l.UsageMax = FullUsage(u, size, g.UsagePage);
                break;
            default:
                break;
            }
            continue;
        }
        if (type != 0) return HID_DESCRIPTOR_MALFORMED; // reserved item type
        switch (tag) {
        case 10: { // Collection
            if (depth >= kMaxDepth) return HID_DESCRIPTOR_MALFORMED;
            if (depth == 0) {
                HidPreparsedData pp;
                uint32_t usage = l.Usages.empty() ? (l.HasMin ? l.UsageMin : 0) : l.Usages.front();
                pp.UsagePage = static_cast<uint16_t>(usage >> 16);
                pp.Usage = static_cast<uint16_t>(usage);
                pp.LinkCollectionNodes = 1;
                collections.push_back(std::move(pp));
                bits.emplace_back(3 * 256, 0);
            } else {
                collections.back().LinkCollectionNodes++;
            }
            ++depth;
            break;
        }
        case 12: // End Collection
            if (depth == 0) return HID_DESCRIPTOR_MALFORMED;
            --depth;
            break;
        case 8:
        case 9:
        case 11: {                 // Input, Output, Feature
            if (depth == 0) break; // outside any collection: nothing can address it
            HidReportKind kind = tag == 8   ? HidReportKind::Input
                                 : tag == 9 ? HidReportKind::Output
                                            : HidReportKind::Feature;
            HidPreparsedData& pp = collections.back();
            if (g.ReportCount > kMaxReportBits || g.ReportSize > kMaxReportBits)
                return HID_DESCRIPTOR_MALFORMED;
            uint32_t fieldBits = g.ReportSize * g.ReportCount;
            uint32_t& used = bits.back()[static_cast<int>(kind) * 256 + g.ReportID];
            if (fieldBits > kMaxReportBits - used) return HID_DESCRIPTOR_MALFORMED;
            HidField f;
            f.Kind = kind;
            f.ReportID = g.ReportID;
            f.LinkCollection = static_cast<uint16_t>(
                pp.LinkCollectionNodes - 1 > 0 && depth > 1 ? pp.LinkCollectionNodes - 1 : 0);
            f.BitOffset = used;
            f.BitSize = g.ReportSize;
            f.Count = g.ReportCount;
            f.Flags = u;
            f.LogicalMin = g.LogicalMin;
            f.LogicalMax = g.LogicalMax;
            f.PhysicalMin = g.PhysicalMin;
            f.PhysicalMax = g.PhysicalMax;
            used += fieldBits;
            uint32_t page = g.UsagePage;
            if (l.HasMin || l.HasMax) {
                if (!(l.HasMin && l.HasMax)) return HID_DESCRIPTOR_MALFORMED;
                if ((l.UsageMin & 0xFFFF) > (l.UsageMax & 0xFFFF)) return HID_DESCRIPTOR_MALFORMED;
                f.IsRange = true;
                f.UsageMin = static_cast<uint16_t>(l.UsageMin);
                f.UsageMax = static_cast<uint16_t>(l.UsageMax);
                page = l.UsageMin >> 16;
            } else {
                for (uint32_t us : l.Usages)
                    f.Usages.push_back(static_cast<uint16_t>(us));
                if (!l.Usages.empty()) page = l.Usages.front() >> 16;
            }
            f.UsagePage = static_cast<uint16_t>(page);
            // A field of data bits but no usage carries nothing we can decode.
            if (!f.IsConstant() && !f.IsRange && f.Usages.empty()) f.Flags |= 1;
            if (fieldBits > 0) {
                if (f.BitSize > 32 && !f.IsConstant()) return HID_DESCRIPTOR_MALFORMED;
                if (pp.Fields.size() >= kMaxFields) return HID_DESCRIPTOR_MALFORMED;
                pp.Fields.push_back(std::move(f));
            }
            break;
        }
        default:
            break;
        }
        l.Clear(); // locals end with every main item
    }
    if (depth != 0) return HID_DESCRIPTOR_MALFORMED;
    for (size_t c = 0; c < collections.size(); ++c) {
        HidPreparsedData& pp = collections[c];
        pp.UsesReportIds = anyReportId;
        for (int k = 0; k < 3; ++k)
            for (int id = 0; id < 256; ++id) {
                uint32_t b = bits[c][k * 256 + id];
                bool hasField = std::any_of(pp.Fields.begin(), pp.Fields.end(), [&](const HidField& f) {
                    return static_cast<int>(f.Kind) == k && f.ReportID == id;
                });
                if (b > 0 || hasField) pp.ReportBytes[k][id] = static_cast<uint16_t>((b + 7) / 8 + 1);
            }
    }
    return HID_DESCRIPTOR_OK;
}

std::vector<HidButtonCaps> GetButtonCaps(HidReportKind kind, const HidPreparsedData& pp) {
    std::vector<HidButtonCaps> caps;
    for (const HidField& f : pp.Fields) {
        if (f.Kind != kind || f.IsConstant() || !f.IsButton()) continue;
        HidButtonCaps c;
        c.UsagePage = f.UsagePage;
        c.ReportID = f.ReportID;
        c.LinkCollection = f.LinkCollection;
        c.LogicalMin = f.LogicalMin;
        c.LogicalMax = f.LogicalMax;
        if (f.IsRange) {
            c.IsRange = true;
            c.UsageMin = f.UsageMin;
            c.UsageMax = f.UsageMax;
            caps.push_back(c);
        } else {
            for (uint16_t us : f.Usages) {
                c.UsageMin = c.UsageMax = us;
                caps.push_back(c);
            }
        }
    }
    return caps;
}

std::vector<HidValueCaps> GetValueCaps(HidReportKind kind, const HidPreparsedData& pp) {
    std::vector<HidValueCaps> caps;
    for (const HidField& f : pp.Fields) {
        if (f.Kind != kind || f.IsConstant() || f.IsButton()) continue;
        HidValueCaps c;
        c.UsagePage = f.UsagePage;
        c.ReportID = f.ReportID;
        c.LinkCollection = f.LinkCollection;
        c.BitSize = static_cast<uint16_t>(f.BitSize);
        c.LogicalMin = f.LogicalMin;
        c.LogicalMax = f.LogicalMax;
        c.PhysicalMin = f.PhysicalMin;
        c.PhysicalMax = f.PhysicalMax;
        if (f.IsRange) {
            c.IsRange = true;
            c.UsageMin = f.UsageMin;
            c.UsageMax = f.UsageMax;
            c.ReportCount = static_cast<uint16_t>(std::min<uint32_t>(f.Count, 0xFFFF));
            caps.push_back(c);
            continue;
        }
        // Explicit usages: one element each, the last one takes the rest.
        for (size_t u = 0; u < f.Usages.size() && u < f.Count; ++u) {
            c.UsageMin = c.UsageMax = f.Usages[u];
            bool last = u + 1 == f.Usages.size() || u + 1 == f.Count;
            c.ReportCount = static_cast<uint16_t>(last ? std::min<uint32_t>(f.Count - u, 0xFFFF) : 1);
            caps.push_back(c);
            if (last) break;
        }
    }
    return caps;
}

HidCaps GetCaps(const HidPreparsedData& pp) {
    HidCaps caps;
    caps.UsagePage = pp.UsagePage;
    caps.Usage = pp.Usage;
    caps.NumberLinkCollectionNodes = pp.LinkCollectionNodes;
    uint16_t* lengths[3] = {&caps.InputReportByteLength, &caps.OutputReportByteLength,
                            &caps.FeatureReportByteLength};
    uint16_t* buttons[3] = {&caps.NumberInputButtonCaps, &caps.NumberOutputButtonCaps,
                            &caps.NumberFeatureButtonCaps};
    uint16_t* values[3] = {&caps.NumberInputValueCaps, &caps.NumberOutputValueCaps,
                           &caps.NumberFeatureValueCaps};
    uint16_t* indices[3] = {&caps.NumberInputDataIndices, &caps.NumberOutputDataIndices,
                            &caps.NumberFeatureDataIndices};
    for (int k = 0; k < 3; ++k) {
        HidReportKind kind = static_cast<HidReportKind>(k);
        for (int id = 0; id < 256; ++id)
            *lengths[k] = std::max(*lengths[k], pp.ReportBytes[k][id]);
        auto b = GetButtonCaps(kind, pp);
        auto v = GetValueCaps(kind, pp);
        *buttons[k] = static_cast<uint16_t>(b.size());
        *values[k] = static_cast<uint16_t>(v.size());
        uint32_t n = 0;
        for (const auto& c : b)
            n += c.UsageMax - c.UsageMin + 1u;
        for (const auto& c : v)
            n += c.UsageMax - c.UsageMin + 1u;
        *indices[k] = static_cast<uint16_t>(std::min<uint32_t>(n, 0xFFFF));
    }
    return caps;
}

uint32_t MaxUsageListLength(HidReportKind kind, uint16_t usagePage, const HidPreparsedData& pp) {
    uint32_t n = 0;
    for (const HidField& f : pp.Fields)
        if (f.Kind == kind && !f.IsConstant() && f.IsButton() && f.UsagePage == usagePage) n += f.Count;
    return n;
}

int32_t GetUsages(HidReportKind kind, uint16_t usagePage, uint16_t* usages, uint32_t* count,
                  const HidPreparsedData& pp, std::span<const uint8_t> report) {
    uint32_t capacity = *count;
    *count = 0;
    int32_t status = CheckReport(kind, pp, report);
    if (status != HIDP_STATUS_SUCCESS) return status;
    bool overflow = false;
    auto add = [&](uint16_t usage) {
        if (usage == 0) return; // the null usage: no key
        if (*count < capacity)
            usages[(*count)++] = usage;
        else
            overflow = true;
    };
    bool found = false;
    for (const HidField& f : pp.Fields) {
        if (!FieldMatches(f, kind, pp, report) || !f.IsButton() || f.UsagePage != usagePage) continue;
        found = true;
        for (uint32_t e = 0; e < f.Count; ++e) {
            uint32_t raw = ExtractBits(report, f.BitOffset + e * f.BitSize, f.BitSize);
            if (f.IsVariable()) {
                if (raw) add(UsageOfElement(f, e));
                continue;
            }
            // Array element: the value selects a usage, anything out of the
            // logical range means "none".
            int64_t v = raw;
            if (f.LogicalMin < 0 && f.BitSize < 32 && (raw & (1u << (f.BitSize - 1))))
                v = static_cast<int64_t>(raw) - (int64_t{1} << f.BitSize);
            if (v < f.LogicalMin || v > f.LogicalMax) continue;
            int64_t idx = v - f.LogicalMin;
            if (f.IsRange) {
                if (idx <= f.UsageMax - f.UsageMin) add(static_cast<uint16_t>(f.UsageMin + idx));
            } else if (idx < static_cast<int64_t>(f.Usages.size())) {
                add(f.Usages[static_cast<size_t>(idx)]);
            }
        }
    }
    if (!found) return HIDP_STATUS_USAGE_NOT_FOUND;
    return overflow ? HIDP_STATUS_BUFFER_TOO_SMALL : HIDP_STATUS_SUCCESS;
}

namespace {
const HidField* FindValue(HidReportKind kind, uint16_t usagePage, uint16_t usage, const HidPreparsedData& pp,
                          std::span<const uint8_t> report, int* element) {
    for (const HidField& f : pp.Fields) {
        if (!FieldMatches(f, kind, pp, report) || f.IsButton() || f.UsagePage != usagePage) continue;
        int e = ElementOf(f, usage);
        if (e >= 0) {
            *element = e;
            return &f;
        }
    }
    return nullptr;
}
} // namespace

int32_t GetUsageValue(HidReportKind kind, uint16_t usagePage, uint16_t usage, uint32_t* value,
                      const HidPreparsedData& pp, std::span<const uint8_t> report) {
    *value = 0;
    int32_t status = CheckReport(kind, pp, report);
    if (status != HIDP_STATUS_SUCCESS) return status;
    int e = 0;
    const HidField* f = FindValue(kind, usagePage, usage, pp, report, &e);
    if (!f) return HIDP_STATUS_USAGE_NOT_FOUND;
    *value = ExtractBits(report, f->BitOffset + static_cast<uint32_t>(e) * f->BitSize, f->BitSize);
    return HIDP_STATUS_SUCCESS;
}

int32_t GetScaledUsageValue(HidReportKind kind, uint16_t usagePage, uint16_t usage, int32_t* value,
                            const HidPreparsedData& pp, std::span<const uint8_t> report) {
    *value = 0;
    int32_t status = CheckReport(kind, pp, report);
    if (status != HIDP_STATUS_SUCCESS) return status;
    int e = 0;
    const HidField* f = FindValue(kind, usagePage, usage, pp, report, &e);
    if (!f) return HIDP_STATUS_USAGE_NOT_FOUND;
    uint32_t raw = ExtractBits(report, f->BitOffset + static_cast<uint32_t>(e) * f->BitSize, f->BitSize);
    int64_t v = raw;
    if (f->LogicalMin < 0 && f->BitSize < 32 && (raw & (1u << (f->BitSize - 1))))
        v = static_cast<int64_t>(raw) - (int64_t{1} << f->BitSize);
    else if (f->LogicalMin < 0 && f->BitSize == 32)
        v = static_cast<int32_t>(raw);
    if (v < f->LogicalMin || v > f->LogicalMax || f->LogicalMax <= f->LogicalMin) return HIDP_STATUS_NULL;
    if (f->PhysicalMax <= f->PhysicalMin) { // no physical range: the logical value itself
        *value = static_cast<int32_t>(v);
        return HIDP_STATUS_SUCCESS;
    }
    int64_t scaled = f->PhysicalMin + (v - f->LogicalMin) * (int64_t{f->PhysicalMax} - f->PhysicalMin) /
                                          (int64_t{f->LogicalMax} - f->LogicalMin);
    *value = static_cast<int32_t>(scaled);
    return HIDP_STATUS_SUCCESS;
}

} // namespace orvane
