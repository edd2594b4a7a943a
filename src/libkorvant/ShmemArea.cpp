// The shared area: attaching, the header, the mutex and the sub-area slots.
#include "libkorvant/ShmemArea.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace korvant {

namespace {

constexpr long kErrAccessDenied = 5;
constexpr long kErrInvalidOwner = 1307;
constexpr unsigned long kErrInsufficientBuffer = 122;
constexpr const char* kGlobalPrefix = "Global\\";

std::uint64_t SlotOffset(std::uint32_t i) {
    return area::kSlotTable + std::uint64_t{i} * area::kSlotSize;
}

bool AllZero(const std::uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] != 0) {
            return false;
        }
    }
    return true;
}

std::string Printf(const char* format, auto... args) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

}  // namespace

bool ParseUuid(const char* text, Uuid* out) {
    if (text == nullptr) {
        return false;
    }
    std::string s(text);
    if (s.size() == 38 && s.front() == '{' && s.back() == '}') {
        s = s.substr(1, 36);
    }
    if (s.size() != 36 || s[8] != '-' || s[13] != '-' || s[18] != '-' || s[23] != '-') {
        return false;
    }
    std::string hex;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            continue;
        }
        const char c = s[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
        hex += c;
    }
    std::uint8_t raw[16];
    for (int i = 0; i < 16; ++i) {
        raw[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(i * 2, 2), nullptr, 16));
    }
    // Data1, Data2 and Data3 are stored little-endian, Data4 as written.
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 16; ++i) {
        out->bytes[i] = raw[order[i]];
    }
    return true;
}

std::string FormatUuidDotted(const Uuid& id) {
    const std::uint8_t* b = id.bytes;
    const unsigned d1 = b[0] | (b[1] << 8) | (b[2] << 16) | (unsigned{b[3]} << 24);
    const unsigned d2 = b[4] | (b[5] << 8);
    const unsigned d3 = b[6] | (b[7] << 8);
    return Printf("%08X.%04X%04X.%02X%02X.%02X:%02X:%02X:%02X:%02X:%02X", d1, d2, d3, b[8], b[9],
                  b[10], b[11], b[12], b[13], b[14], b[15]);
}

std::string FormatUuid(const Uuid& id) {
    const std::uint8_t* b = id.bytes;
    const unsigned d1 = b[0] | (b[1] << 8) | (b[2] << 16) | (unsigned{b[3]} << 24);
    return Printf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", d1, b[4] | (b[5] << 8),
                  b[6] | (b[7] << 8), b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
}

std::uint32_t AreaSizeFromParam(bool present, std::uint32_t value) {
    if (present && value > area::kDefaultSize && value <= area::kMaxSize) {
        return value;
    }
    return area::kDefaultSize;
}

AreaConfig MakeAreaConfig(const std::string& base, const std::string& userSid, bool hasGlobalPrefix,
                          std::uint32_t totalSize) {
    AreaConfig config;
    const std::string prefix = hasGlobalPrefix ? "Global\\" : "";
    const std::string suffix = userSid.empty() ? "" : "_" + userSid;
    config.mappingName = prefix + "VTshmemV3_area" + suffix;
    config.mutexName = prefix + "VTshmemV3_mutex" + suffix;
    std::string dir = base;
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') {
        dir += '\\';
    }
    config.fileName = dir + "var\\cache\\VTshmemV3" + suffix;
    config.totalSize = totalSize;
    config.global = userSid.empty();
    return config;
}

bool ShmemArea::HeaderValid(const std::uint8_t* b, std::uint64_t viewSize,
                            std::uint32_t expectedTotal) {
    if (b == nullptr || viewSize < area::kHeaderSize) {
        return false;
    }
    if (!HasMagic(b, area::kMagic, area::kMagicText) ||
        !HasMagic(b, area::kMagic2, area::kMagic2Text) ||
        Load32(b, area::kVersionOff) != area::kVersion ||
        Load32(b, area::kSlotCount) != area::kSlots) {
        return false;
    }
    const std::uint64_t total = Load32(b, area::kTotalSize);
    if ((expectedTotal != 0 && total != expectedTotal) || total + area::kHeaderSize > viewSize) {
        return false;
    }
    const std::uint64_t used = Load32(b, area::kUsed);
    if (used < area::kHeaderSize || used > total + area::kHeaderSize) {
        return false;
    }
    const std::uint32_t inUse = Load32(b, area::kInUse);
    if (inUse > area::kSlots) {
        return false;
    }
    for (std::uint32_t i = 0; i < inUse; ++i) {
        const std::uint64_t offset = Load32(b, SlotOffset(i) + 16);
        const std::uint64_t size = Load32(b, SlotOffset(i) + 20);
        if (offset < area::kHeaderSize || offset + size > used) {
            return false;
        }
    }
    return true;
}

void ShmemArea::WriteFreshHeader(std::uint8_t* b, std::uint32_t totalSize, std::uint32_t now) {
    std::memset(b, 0, area::kHeaderSize);
    std::memcpy(b + area::kMagic, area::kMagicText, 4);
    Store32(b, area::kVersionOff, area::kVersion);
    Store32(b, area::kUpdateTime, now);
    Store32(b, area::kSlotCount, area::kSlots);
    Store32(b, area::kInUse, 0);
    Store32(b, area::kTotalSize, totalSize);
    Store32(b, area::kUsed, area::kHeaderSize);
    std::memcpy(b + area::kMagic2, area::kMagic2Text, 4);
}

void ShmemArea::IntegrityMessage() {
    const std::string& file = config_.debugFile.empty() ? config_.fileName : config_.debugFile;
    os_.Err(Printf("Internal error: Data integrity check failed on \"%s\".\n", file.c_str()));
}

// With the mutex held: the named mapping, opened when some process has it,
// else made from the file.
bool ShmemArea::MapArea(std::uint64_t mapSize, bool* created) {
    if (os_.OpenMapping(config_.mappingName, mapSize, &view_)) {
        return true;
    }
    view_ = MappedView();
    long error = os_.MapFile(config_.fileName, config_.mappingName, mapSize, false, config_.global,
                             &view_, created);
    if (error == kErrAccessDenied && config_.mappingName.rfind(kGlobalPrefix, 0) == 0) {
        // Creating a mapping in Global\ takes a privilege that standard
        // users and administrators without elevation lack; opening one does
        // not. The global area is then used only when a privileged process
        // made it. A user's own area moves to the session's namespace; its
        // mutex stays in Global\ (creating a mutex there needs no privilege),
        // so every session of the user still takes the same lock, and
        // mappings of one file are coherent whatever their names.
        view_ = MappedView();
        if (!globalDenied_) {
            globalDenied_ = true;
            os_.Trace("CreateFileMapping", __LINE__, static_cast<unsigned long>(error));
        }
        if (config_.global) {
            return false;
        }
        config_.mappingName.erase(0, std::strlen(kGlobalPrefix));
        if (os_.OpenMapping(config_.mappingName, mapSize, &view_)) {
            return true;
        }
        view_ = MappedView();
        error = os_.MapFile(config_.fileName, config_.mappingName, mapSize, false, config_.global,
                            &view_, created);
    }
    if (error != 0) {
        view_ = MappedView();
        return false;
    }
    return true;
}

// A user's own area is trusted as that user's: one whose file or mapping
// another user made first (in a folder every user may write to) could hold
// whatever that user entered, and is not used.
bool ShmemArea::OwnArea() {
    if (config_.global || os_.MadeByThisUser(view_)) {
        return true;
    }
    if (!foreignReported_) {
        foreignReported_ = true;
        os_.Trace("GetSecurityInfo", __LINE__, kErrInvalidOwner);
    }
    return false;
}

bool ShmemArea::Attach() {
    if (Attached()) {
        return true;
    }
    std::array<std::uint8_t, area::kHeaderSize> copy{};
    if (!config_.debugFile.empty()) {
        bool created = false;
        os_.Out(Printf("Debug Shmem File: %s\n\n", config_.debugFile.c_str()));
        if (os_.MapFile(config_.debugFile, "", 0, true, config_.global, &view_, &created) != 0) {
            view_ = MappedView();
            return false;
        }
        if (view_.size >= area::kHeaderSize) {
            std::memcpy(copy.data(), view_.base, copy.size());
        }
        if (!HeaderValid(copy.data(), view_.size, 0)) {
            IntegrityMessage();
            os_.Unmap(&view_);
            view_ = MappedView();
            return false;
        }
        return true;
    }
    if (config_.fileName.empty() || os_.IsDirectory(config_.fileName)) {
        return false;
    }
    bool existed = false;
    mutex_ = os_.CreateOwnedMutex(config_.mutexName, config_.global, &existed);
    if (mutex_ == 0) {
        return false;
    }
    if (existed && WaitForMutex() != LockResult::kLocked) {
        os_.CloseMutex(mutex_);
        mutex_ = 0;
        return false;
    }
    // The mutex is ours from here on.
    const std::uint64_t mapSize = std::uint64_t{config_.totalSize} + area::kHeaderSize;
    bool created = false;
    bool ok = MapArea(mapSize, &created);
    if (ok && (view_.size < mapSize || !OwnArea())) {
        os_.Unmap(&view_);
        ok = false;
    }
    if (ok) {
        std::memcpy(copy.data(), view_.base, copy.size());
        // A new file, or one that never got a header, is given one; any
        // other header must be ours and must fit the mapping.
        if (created || AllZero(copy.data(), copy.size())) {
            WriteFreshHeader(view_.base, config_.totalSize, os_.UnixTime());
            os_.Flush(view_, 0, mapSize);
        } else if (!HeaderValid(copy.data(), view_.size, config_.totalSize)) {
            IntegrityMessage();
            os_.Unmap(&view_);
            ok = false;
        }
    }
    os_.Release(mutex_);
    if (!ok) {
        view_ = MappedView();
        os_.CloseMutex(mutex_);
        mutex_ = 0;
    }
    return ok;
}

void ShmemArea::Detach() {
    // A thread that still holds the lock lets go of it before the mutex
    // handle goes.
    if (owner_.load() == std::this_thread::get_id()) {
        while (depth_ > 0) {
            Unlock();
        }
    }
    if (view_.base != nullptr) {
        os_.Unmap(&view_);
        view_ = MappedView();
    }
    if (mutex_ != 0) {
        os_.CloseMutex(mutex_);
        mutex_ = 0;
    }
}

ShmemArea::LockResult ShmemArea::WaitForMutex() {
    // After a time-out the holder may be stuck or hostile: rather than
    // costing every later call 30 s, later calls go without the cache
    // unless the mutex is free at once, until it is taken again.
    const bool skipping = skipWaits_.load();
    const WaitResult result = os_.Wait(mutex_, skipping ? 0 : kWaitMs);
    if (result == WaitResult::kTaken || result == WaitResult::kAbandoned) {
        if (skipping) {
            skipWaits_.store(false);
        }
        return LockResult::kLocked;
    }
    if (result != WaitResult::kTimeout) {
        return LockResult::kFailed;
    }
    if (!skipping) {
        skipWaits_.store(true);
        os_.Err(
            Printf("Internal error: shmem_win32_lock_area_mutex(%s) timed out waiting for "
                   "mutex.\nReboot if this problem persists.\n",
                   config_.mutexName.c_str()));
    }
    return LockResult::kTimeout;
}

ShmemArea::LockResult ShmemArea::TryLock() {
    if (!Attached()) {
        return LockResult::kFailed;
    }
    if (mutex_ == 0) {
        // The read-only debug view has no named mutex: its threads take a
        // lock of this process's own.
        if (!local_.try_lock_for(std::chrono::milliseconds(kWaitMs))) {
            return LockResult::kTimeout;
        }
    } else if (const LockResult waited = WaitForMutex(); waited != LockResult::kLocked) {
        return waited;
    }
    const std::thread::id me = std::this_thread::get_id();
    if (owner_.load() == me) {
        ++depth_;  // the copy taken by the outer lock stays
        return LockResult::kLocked;
    }
    owner_.store(me);
    depth_ = 1;
    CopyHeader();
    if (!HeaderValid(header_.data(), view_.size, ExpectedTotal())) {
        IntegrityMessage();
        Unlock();
        return LockResult::kDamaged;
    }
    return LockResult::kLocked;
}

// The fixed fields, then as many slots as the copied count says (what lies
// beyond is never read); every call takes a copy, so it is kept short.
void ShmemArea::CopyHeader() {
    std::memcpy(header_.data(), view_.base, area::kSlotTable);
    std::memcpy(header_.data() + area::kTotalSize, view_.base + area::kTotalSize,
                area::kHeaderSize - area::kTotalSize);
    const std::uint32_t inUse = std::min(Field(area::kInUse), area::kSlots);
    for (std::uint32_t i = 0; i < inUse; ++i) {
        const std::uint64_t at = SlotOffset(i);
        std::memcpy(header_.data() + at, view_.base + at, area::kSlotSize);
    }
}

void ShmemArea::Unlock() {
    if (owner_.load() != std::this_thread::get_id() || depth_ == 0) {
        return;
    }
    if (--depth_ == 0) {
        owner_.store(std::thread::id());
    }
    if (mutex_ != 0) {
        os_.Release(mutex_);
    } else {
        local_.unlock();
    }
}

bool ShmemArea::FindSubarea(const Uuid& id, SubareaInfo* info) const {
    const std::uint32_t inUse = Field(area::kInUse);
    for (std::uint32_t i = 0; i < inUse && i < area::kSlots; ++i) {
        if (std::memcmp(header_.data() + SlotOffset(i), id.bytes, 16) == 0) {
            info->index = static_cast<int>(i);
            info->id = id;
            info->offset = Field(static_cast<std::uint32_t>(SlotOffset(i)) + 16);
            info->size = Field(static_cast<std::uint32_t>(SlotOffset(i)) + 20);
            return true;
        }
    }
    return false;
}

bool ShmemArea::CreateSubarea(const Uuid& id, std::uint32_t size, SubareaInfo* info,
                              Existing existing) {
    if (!Lock()) {
        return false;
    }
    bool ok = false;
    if (FindSubarea(id, info)) {
        // A caller that writes the size it asked for must not get less.
        ok = existing == Existing::kAnySize || info->size >= size;
        if (!ok) {
            os_.Trace("shmem_create_subarea", __LINE__, kErrInsufficientBuffer);
        }
    } else if (!ReadOnly() && size > 0) {
        const std::uint32_t inUse = Field(area::kInUse);
        const std::uint64_t used = Field(area::kUsed);
        const std::uint64_t limit = std::uint64_t{Field(area::kTotalSize)} + area::kHeaderSize;
        const std::uint64_t rounded = (std::uint64_t{size} + 7) & ~std::uint64_t{7};
        std::uint8_t* bytes = Span(used, rounded);
        if (inUse < area::kSlots && used + rounded <= limit && bytes != nullptr) {
            std::uint8_t* h = header_.data();
            std::memcpy(h + SlotOffset(inUse), id.bytes, 16);
            Store32(h, SlotOffset(inUse) + 16, static_cast<std::uint32_t>(used));
            Store32(h, SlotOffset(inUse) + 20, size);
            Store32(h, area::kUsed, static_cast<std::uint32_t>(used + rounded));
            Store32(h, area::kInUse, inUse + 1);
            Store32(h, area::kUpdateTime, os_.UnixTime());
            std::memset(bytes, 0, rounded);
            // The checked header goes back, whatever was scribbled over the
            // mapping's meanwhile.
            std::memcpy(view_.base, h, area::kSlotTable + std::size_t{inUse + 1} * area::kSlotSize);
            std::memcpy(view_.base + area::kTotalSize, h + area::kTotalSize,
                        area::kHeaderSize - area::kTotalSize);
            os_.Flush(view_, 0, area::kHeaderSize);
            os_.Flush(view_, used, rounded);
            ok = FindSubarea(id, info);
        }
    }
    Unlock();
    return ok;
}

std::vector<SubareaInfo> ShmemArea::Slots() const {
    std::vector<SubareaInfo> slots;
    const std::uint32_t inUse = Field(area::kInUse);
    for (std::uint32_t i = 0; i < inUse && i < area::kSlots; ++i) {
        SubareaInfo info;
        info.index = static_cast<int>(i);
        std::memcpy(info.id.bytes, header_.data() + SlotOffset(i), 16);
        info.offset = Field(static_cast<std::uint32_t>(SlotOffset(i)) + 16);
        info.size = Field(static_cast<std::uint32_t>(SlotOffset(i)) + 20);
        slots.push_back(info);
    }
    return slots;
}

std::uint8_t* ShmemArea::Span(std::uint64_t offset, std::uint64_t size) {
    if (!Attached() || offset > view_.size || size > view_.size - offset) {
        return nullptr;
    }
    return view_.base + offset;
}

bool ShmemArea::Commit() {
    return Attached() && !ReadOnly() && os_.Flush(view_, 0, view_.size);
}

bool ShmemArea::CommitRange(std::uint64_t offset, std::uint64_t size) {
    if (!Attached() || ReadOnly() || offset > view_.size || size > view_.size - offset) {
        return false;
    }
    return os_.Flush(view_, offset, size);
}

std::string ShmemArea::SummaryText() const {
    std::string text =
        "--------------------- Shared Memory Area Statistics ---------------------------\n";
    text += Printf("  Section: %s\n  Mutex: %s\n  File: %s\n", config_.mappingName.c_str(),
                   config_.mutexName.c_str(),
                   (config_.debugFile.empty() ? config_.fileName : config_.debugFile).c_str());
    const std::uint32_t updated = Field(area::kUpdateTime);
    const std::time_t t = updated;
    const char* when = std::ctime(&t);
    text += Printf(
        "  Version: %-6d           Last Update: 0x%08X %s  # of Sub-Areas: %3d/%-3d"
        "          Size: 0x%08X/0x%08X (Used/Total)\n\n",
        static_cast<int>(Field(area::kVersionOff)), updated, when != nullptr ? when : "\n",
        static_cast<int>(Field(area::kInUse)), static_cast<int>(Field(area::kSlotCount)),
        Field(area::kUsed), Field(area::kTotalSize));
    text += "Sec.       UUID                                   Offset       Size\n";
    for (const SubareaInfo& slot : Slots()) {
        text += Printf("%3d  %s 0x%08X 0x%08X\n", slot.index, FormatUuidDotted(slot.id).c_str(),
                       slot.offset, slot.size);
    }
    return text;
}

}  // namespace korvant
