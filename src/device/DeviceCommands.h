#pragma once
// Every command the program sends to the keyboard, one function each. Each
// returns DEV_OK (1) or a failure code of ReportExchange.h; buffers change
// only for chunks whose reply was accepted.
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/ReportExchange.h"

namespace orvane {

constexpr size_t DEVICE_INFO_SIZE = 44;
constexpr size_t DEVICE_INFO_ACTIVE_PROFILE = 10;
constexpr size_t DEVICE_INFO_MACRO_UNITS = 11; // capacity in 128-byte units
constexpr size_t DEVICE_INFO_MODES = 12;       // 32 one-byte mode slots
constexpr size_t DEVICE_INFO_MODE_SLOTS = 32;
constexpr size_t LIGHTING_RECORD_SIZE = 42;
constexpr size_t LIGHTING_AREA_SIZE = 3 * LIGHTING_RECORD_SIZE;
constexpr size_t KEY_COLOUR_PROFILE_SIZE = 512;
constexpr size_t KEY_COLOURS_PER_COMMAND = 18; // LED indexes, 54 bytes
constexpr size_t MAX_KEY_MATRIX_LENGTH = 512;
constexpr int PROFILE_COUNT = 3;

constexpr uint8_t CMD_BEGIN_SESSION = 0x01;
constexpr uint8_t CMD_END_SESSION = 0x02;
constexpr uint8_t CMD_READ_INFO = 0x03;
constexpr uint8_t CMD_WRITE_INFO = 0x04;
constexpr uint8_t CMD_READ_LIGHTING = 0x05;
constexpr uint8_t CMD_WRITE_LIGHTING = 0x06;
constexpr uint8_t CMD_READ_KEY_MATRIX = 0x07;
constexpr uint8_t CMD_WRITE_KEY_MATRIX = 0x08;
constexpr uint8_t CMD_READ_MACRO_MEMORY = 0x09;
constexpr uint8_t CMD_WRITE_MACRO_MEMORY = 0x0A;
constexpr uint8_t CMD_READ_DEFAULT_KEY_MATRIX = 0x0F;
constexpr uint8_t CMD_WRITE_KEY_COLOURS = 0x11;

// Model parameters of the connected keyboard: 126 keys / 378 bytes until a
// keyboard says otherwise.
int KeyCount();
int KeyMatrixLength();
// Sets them from an accepted (vendor, product) pair; false, unchanged, for others.
bool SetModelParameters(uint16_t vendorId, uint16_t productId);
// Key count of an accepted pair, 0 for any other.
int KeyCountForIds(uint16_t vendorId, uint16_t productId);

// The profile whose lighting the main window shows (0-2); DevWriteKeyColours
// addresses its colours.
int GetCurrentProfile();
void SetCurrentProfile(int profile);

// Bytes of macro memory (device info byte 11 x 128) as last read at a
// connection; 0 until known. DevWriteMacroMemory refuses larger images.
size_t MacroCapacity();
void SetMacroCapacity(size_t bytes);

// The keyboard's on-board profile in use as last read, -1 when unknown.
int GetActiveProfileCache();
void SetActiveProfileCache(int profile);

// A begin waits while another thread's bracket is open, and an accepted begin
// holds the brackets for its thread until its end: sessions of different
// threads never interleave on the wire. Never wait for the window's thread
// between the two.
int DevBeginSession();
int DevEndSession();                             // waits 10 ms before it sends
int DevReadInfo(std::span<uint8_t> info);        // at least 44 bytes
int DevWriteInfo(std::span<const uint8_t> info); // at least 44 bytes; the first 44 are sent
// Copies the 56 data bytes of the reply whatever `length` is; out >= 56 bytes.
int DevReadLighting(std::span<uint8_t> out, uint8_t length, uint16_t offset);
int DevWriteLighting(std::span<const uint8_t> data, uint16_t offset); // 1..56 bytes
// Matrices are KeyMatrixLength() bytes (larger buffers are fine); profile 0-2.
int DevReadKeyMatrix(std::span<uint8_t> out, int profile);
int DevWriteKeyMatrix(std::span<const uint8_t> matrix, int profile);
// The whole span is moved, from offset 0 (at most 65536 bytes, and for the
// write no more than MacroCapacity() once that is known).
int DevReadMacroMemory(std::span<uint8_t> out);
int DevWriteMacroMemory(std::span<const uint8_t> image);
int DevReadDefaultKeyMatrix(std::span<uint8_t> out);
// Up to 54 bytes (18 LEDs) from LED index firstLed, in the current profile.
int DevWriteKeyColours(std::span<const uint8_t> colours, int firstLed);
// A whole profile's colour table (512 bytes) in 54-byte steps inside one
// begin/end bracket. DEV_OK only when every command succeeded; the first
// failed colour write ends the steps.
int DevWriteProfileKeyColours(std::span<const uint8_t> table);

// Runs `transfers` (returning a status) between DevBeginSession and
// DevEndSession. DEV_OK only when the begin, the transfers and the end all
// succeeded, else the first failure. Nothing follows a failed begin; a
// failed transfer still closes the session.
template <class Transfers> int DevInSession(Transfers&& transfers) {
    int r = DevBeginSession();
    if (r != DEV_OK) return r;
    r = transfers();
    const int end = DevEndSession();
    return r != DEV_OK ? r : end;
}

} // namespace orvane
