#pragma once
// Interface paths carry the ids and the collection the way the keyboard's
// discovery expects: "<node>#vid_320f&pid_5000&col02".
#include <cstdint>
#include <string>

namespace orvane {

std::string MakeInterfacePath(const std::string& node, uint16_t vendorId, uint16_t productId,
                              unsigned collectionIndex);
// Splits a path made above; collectionIndex is 0-based. False when malformed.
bool SplitInterfacePath(const std::string& path, std::string* node, unsigned* collectionIndex);

} // namespace orvane
