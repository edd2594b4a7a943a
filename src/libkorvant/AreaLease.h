#pragma once

#include <utility>

namespace korvant {

class ShmemArea;
class SharedCache;

// One counted use of an attached area: the area stays mapped while any
// lease on it lives, and the last one to go detaches it. Leases are what
// tables, area and sub-area handles, and every passing use hold.
class AreaLease {
public:
    AreaLease() = default;
    AreaLease(SharedCache* cache, ShmemArea* area) : cache_(cache), area_(area) {}
    ~AreaLease() { Reset(); }
    AreaLease(AreaLease&& other) noexcept
        : cache_(std::exchange(other.cache_, nullptr)),
          area_(std::exchange(other.area_, nullptr)) {}
    AreaLease& operator=(AreaLease&& other) noexcept {
        if (this != &other) {
            Reset();
            cache_ = std::exchange(other.cache_, nullptr);
            area_ = std::exchange(other.area_, nullptr);
        }
        return *this;
    }
    AreaLease(const AreaLease&) = delete;
    AreaLease& operator=(const AreaLease&) = delete;

    ShmemArea* get() const { return area_; }
    ShmemArea* operator->() const { return area_; }
    ShmemArea& operator*() const { return *area_; }
    explicit operator bool() const { return area_ != nullptr; }
    // Another use of the same area (defined with SharedCache).
    AreaLease Share() const;
    // Lets go of the area (defined with SharedCache).
    void Reset();

private:
    SharedCache* cache_ = nullptr;
    ShmemArea* area_ = nullptr;
};

}  // namespace korvant
