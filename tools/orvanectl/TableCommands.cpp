// Dumps of the constant key tables, tab-separated with one header line, for
// checking them by eye or against another listing.
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "CtlCommand.h"
#include "model/KeyTables.h"

namespace orvanectl {
namespace {

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

bool NoArguments(const std::vector<std::string>& args, std::ostream& err, const char* name) {
    if (args.empty()) return true;
    err << name << ": takes no arguments\n";
    return false;
}

int DumpKeys(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!NoArguments(args, err, "keys")) return kUsage;
    out << "index\tscan\tvk\tkey_id\tusage\talt_vk\ttext_key\tname\tpair_kind\tpair_usage\tdevice_code\n";
    for (unsigned i = 0; i < orvane::kKeyTableSize; ++i) {
        const auto index = static_cast<uint8_t>(i);
        const orvane::KeyTableRow& row = orvane::KeyTableRowAt(index);
        const orvane::ScanCode code = orvane::IndexToScanCode(index);
        const orvane::UsagePair pair = orvane::ScanCodeToUsagePair(code);
        const orvane::DeviceKeyCode device = orvane::ScanCodeToDeviceKeyCode(code);
        out << Hex(i, 2) << '\t' << Hex(code, 3) << '\t' << Hex(row.vk, 2) << '\t' << Hex(row.keyId, 4)
            << '\t' << Hex(row.usage, 2) << '\t' << Hex(row.altVk, 2) << '\t' << row.textKey << '\t'
            << orvane::GetKeyName(code) << '\t' << pair.kind << '\t' << Hex(pair.usage, 4) << '\t'
            << Hex(device.type, 2) << Hex(device.a, 2) << Hex(device.b, 2) << '\n';
    }
    return kOk;
}

int DumpSlots(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!NoArguments(args, err, "slots")) return kUsage;
    out << "slot\tcontrol_id\tscan\tled\tskin_key\n";
    for (int s = 0; s < orvane::kKeySlotCount; ++s) {
        const orvane::KeySlot* slot = orvane::KeySlotAt(s);
        out << s << '\t' << slot->controlId << '\t' << Hex(slot->scanCode, 3) << '\t'
            << static_cast<unsigned>(slot->ledIndex) << '\t' << orvane::KeySlotSkinName(s) << '\n';
    }
    return kOk;
}

int DumpMedia(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!NoArguments(args, err, "media")) return kUsage;
    out << "media\tscan\tconsumer_usage\ttext_key\n";
    for (int m = 0; m < orvane::kMediaKeyCount; ++m) {
        const orvane::MediaKeyRow* row = orvane::MediaKeyAt(m);
        const orvane::KeyTableRow& key = orvane::KeyTableRowAt(orvane::ScanCodeToIndex(row->scanCode));
        out << m << '\t' << Hex(row->scanCode, 3) << '\t' << Hex(row->consumerUsage, 4) << '\t' << key.textKey
            << '\n';
    }
    return kOk;
}

int DumpVk(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!NoArguments(args, err, "vk")) return kUsage;
    out << "vk\tindex\n";
    for (unsigned vk = 0; vk < 256; ++vk)
        out << Hex(vk, 2) << '\t' << Hex(orvane::VkToKeyIndex(static_cast<uint8_t>(vk)), 2) << '\n';
    return kOk;
}

const CtlRegistrar kKeys({"keys", "", false, DumpKeys,
                          "Prints the key table, one row per key index, tab-separated."});
const CtlRegistrar kSlots({"slots", "", false, DumpSlots,
                           "Prints the key positions of the keyboard picture with their scan codes and "
                           "lighting indexes, tab-separated."});
const CtlRegistrar
    kMedia({"media", "", false, DumpMedia,
            "Prints the multimedia keys with their scan codes and consumer usages, tab-separated."});
const CtlRegistrar kVk({"vk", "", false, DumpVk,
                        "Prints the virtual-key to key index table, tab-separated."});

} // namespace
} // namespace orvanectl
