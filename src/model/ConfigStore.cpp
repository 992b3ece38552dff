#include "model/ConfigStore.h"

#include <algorithm>
#include <mutex>
#include <new>

#include "platform/ByteOrder.h"
#include "platform/CriticalSections.h"

namespace orvane {
namespace {
using Guard = std::lock_guard<COrderedLock>;
} // namespace

CConfigStore g_ConfigStore;

CConfigStore::CConfigStore() = default;

// ------------------------------------------------------------------ records

KeyFunction CConfigStore::Record(int block, int keyIndex) const {
    const int i = RecordIndex(block, keyIndex);
    if (i < 0) return {};
    Guard lock(ConfigStoreLock());
    return records_[i];
}

bool CConfigStore::SetRecord(int block, int keyIndex, const KeyFunction& record) {
    const int i = RecordIndex(block, keyIndex);
    if (i < 0) return false;
    Guard lock(ConfigStoreLock());
    records_[i] = record;
    return true;
}

KeyFunctionTable CConfigStore::Records() const {
    Guard lock(ConfigStoreLock());
    return records_;
}

void CConfigStore::SetRecords(const KeyFunctionTable& records) {
    Guard lock(ConfigStoreLock());
    records_ = records;
}

ProfileHeader CConfigStore::Header() const {
    Guard lock(ConfigStoreLock());
    return header_;
}

void CConfigStore::SetHeader(const ProfileHeader& header) {
    Guard lock(ConfigStoreLock());
    header_ = header;
}

std::vector<uint8_t> CConfigStore::WorkingImage() const {
    std::vector<uint8_t> image(kProfileImageBytes);
    Guard lock(ConfigStoreLock());
    std::copy(header_.begin(), header_.end(), image.begin());
    for (size_t i = 0; i < records_.size(); ++i)
        WriteKeyFunction(records_[i], image.data() + kProfileHeaderBytes + i * kKeyFunctionBytes);
    return image;
}

bool CConfigStore::SetWorkingImage(const uint8_t* image, size_t size) {
    if (image == nullptr || size < kProfileImageBytes) return false;
    Guard lock(ConfigStoreLock());
    std::copy_n(image, kProfileHeaderBytes, header_.begin());
    for (size_t i = 0; i < records_.size(); ++i)
        ReadKeyFunction(image + kProfileHeaderBytes + i * kKeyFunctionBytes, records_[i]);
    return true;
}

void CConfigStore::ReleaseWorking() {
    Guard lock(ConfigStoreLock());
    header_.fill(0);
    records_.fill(KeyFunction{});
    for (KeyStringSlot& s : strings_)
        s = KeyStringSlot{};
    stringTotal_ = 0;
    macros_.clear();
    macros_.shrink_to_fit();
}

void CConfigStore::InstallFresh(const ProfileHeader& header) {
    Guard lock(ConfigStoreLock());
    ReleaseWorking();
    header_ = header;
    records_ = FreshKeyFunctionTable();
}

// -------------------------------------------------------------- key strings

void CConfigStore::FreeSlotLocked(int recordIndex) {
    KeyStringSlot& slot = strings_[recordIndex];
    stringTotal_ -= std::min(stringTotal_, slot.size);
    slot = KeyStringSlot{};
}

bool CConfigStore::SetKeyString(int recordIndex, const std::u16string& text) {
    if (recordIndex < 0 || recordIndex >= kKeyRecordCount) return false;
    Guard lock(ConfigStoreLock());
    FreeSlotLocked(recordIndex);
    try {
        KeyStringSlot filled{text, KeyStringBytes(text)};
        strings_[recordIndex] = std::move(filled);
    } catch (const std::bad_alloc&) {
        return false;
    }
    stringTotal_ += strings_[recordIndex].size;
    return true;
}

void CConfigStore::FreeKeyString(int recordIndex) {
    if (recordIndex < 0 || recordIndex >= kKeyRecordCount) return;
    Guard lock(ConfigStoreLock());
    FreeSlotLocked(recordIndex);
}

std::u16string CConfigStore::KeyString(int recordIndex) const {
    if (recordIndex < 0 || recordIndex >= kKeyRecordCount) return {};
    Guard lock(ConfigStoreLock());
    return strings_[recordIndex].text;
}

uint32_t CConfigStore::KeyStringSize(int recordIndex) const {
    if (recordIndex < 0 || recordIndex >= kKeyRecordCount) return 0;
    Guard lock(ConfigStoreLock());
    return strings_[recordIndex].size;
}

uint32_t CConfigStore::KeyStringTotal() const {
    Guard lock(ConfigStoreLock());
    return stringTotal_;
}

std::vector<uint8_t> CConfigStore::PackWorkingStrings() {
    Guard lock(ConfigStoreLock());
    return PackKeyStrings(strings_, stringTotal_, records_);
}

void CConfigStore::LoadKeyStrings(const uint8_t* area, size_t size) {
    Guard lock(ConfigStoreLock());
    for (int i = 0; i < kKeyRecordCount; ++i) {
        if (!IsStringKind(records_[i])) continue;
        SetKeyString(i, KeyStringAt(area, size, static_cast<uint32_t>(records_[i].value)));
    }
}

// ------------------------------------------------------------------- macros

MacroList CConfigStore::Macros() const {
    Guard lock(ConfigStoreLock());
    return macros_;
}

size_t CConfigStore::MacroCount() const {
    Guard lock(ConfigStoreLock());
    return macros_.size();
}

bool CConfigStore::SetMacros(MacroList list) {
    if (list.size() > kMacroMaxCount) return false;
    Guard lock(ConfigStoreLock());
    macros_ = std::move(list);
    return true;
}

int CConfigStore::MacroPosition(uint32_t id) const {
    const uint16_t wanted = static_cast<uint16_t>(id);
    Guard lock(ConfigStoreLock());
    for (size_t i = 0; i < macros_.size(); ++i)
        if (macros_[i].id == wanted) return static_cast<int>(i);
    return 0;
}

uint16_t CConfigStore::MacroIdAt(int position) const {
    Guard lock(ConfigStoreLock());
    if (position < 0 || static_cast<size_t>(position) >= macros_.size()) return 0;
    return macros_[position].id;
}

std::u16string CConfigStore::MacroNameOfId(uint32_t id) const {
    const uint16_t wanted = static_cast<uint16_t>(id);
    Guard lock(ConfigStoreLock());
    for (const MacroRecord& m : macros_)
        if (m.id == wanted) return MacroName(m);
    return {};
}

// ----------------------------------------------------------- committed copy

int CConfigStore::Commit() {
    Guard working(ConfigStoreLock());
    Guard committed(DriverTableLock());
    committedMacros_.clear();
    committedMacros_.shrink_to_fit();
    committedStrings_.clear();
    committedStrings_.shrink_to_fit();
    try {
        committedHeader_ = header_;
        committedRecords_ = records_;
        committedStrings_ = PackKeyStrings(strings_, stringTotal_, committedRecords_);
        committedMacros_ = macros_;
    } catch (const std::bad_alloc&) {
        committedMacros_.clear();
        committedStrings_.clear();
        return 0;
    }
    return 1;
}

KeyFunction CConfigStore::CommittedRecord(int block, int keyIndex) const {
    const int i = RecordIndex(block, keyIndex);
    if (i < 0) return {};
    Guard lock(DriverTableLock());
    return committedRecords_[i];
}

std::vector<uint8_t> CConfigStore::CommittedImage() const {
    std::vector<uint8_t> image(kProfileImageBytes);
    Guard lock(DriverTableLock());
    std::copy(committedHeader_.begin(), committedHeader_.end(), image.begin());
    for (size_t i = 0; i < committedRecords_.size(); ++i)
        WriteKeyFunction(committedRecords_[i], image.data() + kProfileHeaderBytes + i * kKeyFunctionBytes);
    return image;
}

std::vector<uint8_t> CConfigStore::CommittedStringArea() const {
    Guard lock(DriverTableLock());
    return committedStrings_;
}

MacroBlockSizeInfo CConfigStore::MacroBlockSizes() const {
    Guard lock(DriverTableLock());
    return orvane::MacroBlockSizes(committedMacros_);
}

size_t CConfigStore::EncodeMacroBlock(uint8_t* buffer, size_t size, bool withNames) const {
    Guard lock(DriverTableLock());
    return orvane::EncodeMacroBlock(committedMacros_, buffer, size, withNames);
}

} // namespace orvane
