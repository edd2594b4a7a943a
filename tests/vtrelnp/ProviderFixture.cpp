#include "vtrelnp/ProviderFixture.h"

namespace vtrelnp::testing {

std::string ProviderTest::Describe(const NetResourceRecord& r) {
    auto text = [](const char16_t* s) { return s == nullptr ? std::string("-") : Narrow(s); };
    return text(r.localName) + "|" + text(r.remoteName) + "|" + std::to_string(r.displayType) +
           "|" + std::to_string(r.usage) + "|" + text(r.comment);
}

std::vector<std::string> ProviderTest::EnumerateAll(std::uint32_t scope, std::uint32_t usage,
                                                    const char16_t* remote, long* openResult) {
    std::vector<std::string> out;
    NetResourceIn r = Res(remote, nullptr, kProviderName, 0);
    void* handle = nullptr;
    const long opened = np.OpenEnum(scope, 0, usage, remote != nullptr ? &r : nullptr, &handle);
    if (openResult != nullptr) {
        *openResult = opened;
    }
    if (opened != 0) {
        return out;
    }
    alignas(8) unsigned char buffer[1024];
    for (;;) {
        std::uint32_t count = 1;
        std::uint32_t size = sizeof buffer;
        const long result = np.EnumResource(handle, &count, buffer, &size);
        if (result == kErrNoMoreItems) {
            break;
        }
        EXPECT_EQ(result, 0);
        if (result != 0) {
            break;
        }
        const auto* record = reinterpret_cast<const NetResourceRecord*>(buffer);
        EXPECT_EQ(record->scope, scope);
        EXPECT_EQ(Narrow(record->provider), "Vantrel Dynamic Views");
        out.push_back(Describe(*record));
    }
    EXPECT_EQ(np.CloseEnum(handle), 0);
    return out;
}

}  // namespace vtrelnp::testing
