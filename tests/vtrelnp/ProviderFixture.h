#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vtrelnp/FakeLibraries.h"
#include "vtrelnp/FakeSystem.h"
#include "vtrelnp/Provider.h"

namespace vtrelnp::testing {

// A provider on a machine "BUILDHOST" whose driver drive M: exists, with
// views t1 (here), t2 and t3 (on "otherhost") and a work-space entry.
class ProviderTest : public ::testing::Test {
protected:
    ProviderTest() {
        libs.SetViews({{"t1", "BUILDHOST"},
                       {"t2", "otherhost"},
                       {"ws1", "BUILDHOST", true},
                       {"t3", "otherhost"}});
        sys.devices[u"M:"] = {u"\\Device\\dlfs"};
    }

    static NetResourceIn Res(const char16_t* remote, const char16_t* local = nullptr,
                             const char16_t* provider = nullptr, std::uint32_t type = 1) {
        NetResourceIn r{};
        r.type = type;
        r.remoteName = remote;
        r.localName = local;
        r.provider = provider;
        return r;
    }

    long Add(const char16_t* remote, const char16_t* local) {
        const NetResourceIn r = Res(remote, local);
        return np.AddConnection(&r, nullptr, nullptr);
    }

    // Every resource of an enumeration, as "local|remote|display|usage|comment".
    std::vector<std::string> EnumerateAll(std::uint32_t scope, std::uint32_t usage,
                                          const char16_t* remote, long* openResult = nullptr);

    static std::string Describe(const NetResourceRecord& r);

    FakeSystem sys;
    FakeLibraries libs{sys};
    Provider np{sys, libs};
};

}  // namespace vtrelnp::testing
