#include "device/DefaultKeyMatrix.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace orvane {
namespace {

// Device key codes of positions 0-62, eight positions per row as printed in
// the keyboard's table; 000000 is an empty position.
// clang-format off
constexpr uint32_t kBuiltIn[63] = {
    // 0-7
    0x050000, 0x050000, 0x050000, 0x050000, 0x050000, 0x050000, 0x000000, 0x000000,
    // 8-15
    0x020229, 0x020235, 0x02022B, 0x020239, 0x020102, 0x020101, 0x000000, 0x000000,
    // 16-23
    0x02023A, 0x02021E, 0x020214, 0x020204, 0x02021D, 0x020108, 0x000000, 0x000000,
    // 24-31
    0x02023B, 0x02021F, 0x02021A, 0x020216, 0x02021B, 0x020104, 0x000000, 0x000000,
    // 32-39
    0x02023C, 0x020220, 0x020208, 0x020207, 0x020206, 0x02022C, 0x020246, 0x000000,
    // 40-47
    0x02023D, 0x020221, 0x020215, 0x020209, 0x020219, 0x020140, 0x020247, 0x000000,
    // 48-55
    0x02023E, 0x020222, 0x020217, 0x02020A, 0x020205, 0x050202, 0x02022E, 0x000000,
    // 56-62
    0x02023F, 0x020223, 0x02021C, 0x02020B, 0x020211, 0x020265, 0x020248,
};
// clang-format on

KeyMatrixBuffer BuildBuiltIn() {
    KeyMatrixBuffer m{};
    for (size_t p = 0; p < std::size(kBuiltIn); ++p) {
        m[p * 3] = static_cast<uint8_t>(kBuiltIn[p] >> 16);
        m[p * 3 + 1] = static_cast<uint8_t>(kBuiltIn[p] >> 8);
        m[p * 3 + 2] = static_cast<uint8_t>(kBuiltIn[p]);
    }
    return m;
}

std::mutex g_Mutex;
KeyMatrixBuffer g_Matrix = BuildBuiltIn();
// Key matrix length of the model whose matrix was last read; 0 for none.
std::atomic<int> g_ReadLength{0};

} // namespace

const KeyMatrixBuffer& BuiltInDefaultKeyMatrix() {
    static const KeyMatrixBuffer table = BuildBuiltIn();
    return table;
}

KeyMatrixBuffer DefaultKeyMatrix() {
    std::lock_guard<std::mutex> lock(g_Mutex);
    return g_Matrix;
}

void SetDefaultKeyMatrix(std::span<const uint8_t> matrix) {
    const size_t n = std::min(matrix.size(), g_Matrix.size());
    std::lock_guard<std::mutex> lock(g_Mutex);
    std::copy_n(matrix.begin(), n, g_Matrix.begin());
}

void ResetDefaultKeyMatrix() {
    std::lock_guard<std::mutex> lock(g_Mutex);
    g_Matrix = BuiltInDefaultKeyMatrix();
    g_ReadLength.store(0);
}

int RefreshDefaultKeyMatrix() {
    KeyMatrixBuffer read{};
    const int length = KeyMatrixLength();
    const int r = DevReadDefaultKeyMatrix(read);
    if (r == DEV_OK) {
        SetDefaultKeyMatrix(std::span<const uint8_t>(read.data(), static_cast<size_t>(length)));
        g_ReadLength.store(length);
    }
    return r;
}

bool DefaultKeyMatrixKnown() {
    return g_ReadLength.load() == KeyMatrixLength();
}

int EnsureDefaultKeyMatrix() {
    return DefaultKeyMatrixKnown() ? DEV_OK : RefreshDefaultKeyMatrix();
}

} // namespace orvane
