// raw: one hand-made request through the report exchange.
#include <ostream>

#include "CtlCommand.h"
#include "device/ReportExchange.h"
#include "DeviceCtl.h"

namespace orvanectl {
namespace {

constexpr const char* kRawArgs = "HEX...";

int RunRaw(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto bytes = ParseHexBytes(args);
    if (args.empty() || !bytes || bytes->size() > orvane::REPORT_SIZE - 3)
        return UsageError(err, "raw", kRawArgs);
    uint8_t request[orvane::REPORT_SIZE] = {};
    request[0] = orvane::COMMAND_REPORT_ID;
    std::copy(bytes->begin(), bytes->end(), request + 3);
    orvane::SealReport(request);
    uint8_t reply[orvane::REPORT_SIZE] = {};
    uint32_t received = 0;
    int r = orvane::TransactReport(request, sizeof request, reply, sizeof reply, &received);
    if (r == orvane::DEV_OK) out << HexLine(reply, received) << "\n";
    return FinishCommand(out, r);
}

CtlRegistrar raw({"raw", kRawArgs, true, RunRaw,
                  "Sends one hand-made request (HEX are its bytes from the command byte on; report id and "
                  "checksum are filled in) and prints the reply."});

} // namespace
} // namespace orvanectl
