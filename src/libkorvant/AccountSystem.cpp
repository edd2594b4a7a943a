#include "libkorvant/AccountSystem.h"

namespace korvant {

namespace {

// Far more trusted domains than any forest holds: an enumeration that never
// ends keeps what it has by then.
constexpr int kMaxPages = 4096;

}  // namespace

std::uint32_t CollectTrustedDomains(const TrustedDomainPage& page,
                                    std::vector<TrustedDomain>* out) {
    out->clear();
    for (int pages = 0; pages < kMaxPages; ++pages) {
        std::vector<TrustedDomain> got;
        const std::uint32_t status = page(&got);
        if (status == kStatusNoMoreEntries) {
            return 0;
        }
        if (status != 0 && status != kStatusMoreEntries) {
            out->clear();
            return status;
        }
        out->insert(out->end(), got.begin(), got.end());
        // Success may end the enumeration; the next call then says so.
        if (status == 0 && got.empty()) {
            return 0;
        }
    }
    return 0;
}

}  // namespace korvant
