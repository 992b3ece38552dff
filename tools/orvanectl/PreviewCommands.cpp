// orvanectl preview: runs the lighting preview for a number of ticks and
// prints the last frame, one line per lit key, so frames can be compared.
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CtlCommand.h"
#include "DeviceCtl.h"
#include "model/Preview.h"

namespace orvanectl {
namespace {

constexpr const char* kName = "preview";
constexpr const char* kUsageText =
    "MODE TICKS [--colourful 0|1] [--direction 0|255] [--colour RRGGBB] [--clock SECONDS]";

std::optional<orvane::Colour> ParseRgb(const std::string& text) {
    if (text.size() != 6) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return orvane::MakeColour(static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value));
}

std::string RgbText(orvane::Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", orvane::RedOf(c), orvane::GreenOf(c), orvane::BlueOf(c));
    return text;
}

int RunPreview(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2) return UsageError(err, kName, kUsageText);
    const auto mode = ParseNumber(args[0], 255);
    const auto ticks = ParseNumber(args[1], 1000000);
    if (!mode || !ticks || *ticks == 0) return UsageError(err, kName, kUsageText);
    orvane::PreviewParams params;
    params.mode = static_cast<int>(*mode);
    std::optional<uint32_t> clock;
    for (size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return UsageError(err, kName, kUsageText);
        const std::string& option = args[i];
        const std::string& value = args[i + 1];
        if (option == "--colourful") {
            if (value != "0" && value != "1") return UsageError(err, kName, kUsageText);
            params.colourful = value == "1";
        } else if (option == "--direction") {
            if (value != "0" && value != "255") return UsageError(err, kName, kUsageText);
            params.direction = value == "255" ? 255 : 0;
        } else if (option == "--colour") {
            const auto c = ParseRgb(value);
            if (!c) return UsageError(err, kName, kUsageText);
            params.colour = *c;
        } else if (option == "--clock") {
            // A fixed second makes the random modes (10, 13-16) repeatable.
            clock = ParseNumber(value, 0xFFFFFFFFu);
            if (!clock) return UsageError(err, kName, kUsageText);
        } else {
            return UsageError(err, kName, kUsageText);
        }
    }
    orvane::CPreview preview =
        clock ? orvane::CPreview([c = *clock] { return static_cast<int64_t>(c); }) : orvane::CPreview();
    orvane::CKeyLightFrame frame;
    for (uint32_t t = 0; t < *ticks; ++t)
        preview.TimerTick(params, frame);

    for (int n = 0; n < orvane::kKeyButtonCount; ++n) {
        const auto& light = frame.AtNumber(n);
        if (!light.lit) continue;
        const orvane::KeyButton b = orvane::KeyButtonAt(n);
        switch (b.kind) {
        case orvane::KeyButtonKind::Slot:
            out << "slot " << int(b.index);
            break;
        case orvane::KeyButtonKind::GKey:
            out << "g " << int(b.index) + 1;
            break;
        case orvane::KeyButtonKind::Fn:
            out << "fn";
            break;
        }
        out << " colour " << RgbText(light.colour) << "\n";
    }
    return kOk;
}

const CtlRegistrar kPreview({kName, kUsageText, false, RunPreview,
                             "Runs the lighting preview of MODE for TICKS ticks and prints the last frame, "
                             "one line per lit key. Needs no keyboard."});

} // namespace
} // namespace orvanectl
