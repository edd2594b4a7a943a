#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "vtrelnp/Libraries.h"
#include "vtrelnp/Reporter.h"

namespace vtrelnp {

struct RegisteredView {
    std::string tag;
    std::string host;
};

// The views registered with the product's registry server. The list is
// kept for the process with the server's timestamp and read again only
// when the server says it changed.
//
// A server call can take long: no lock that other entry points wait for is
// held across one. One refresh of the list runs at a time (the others wait
// for its result, which they need anyway); lookups of one tag never wait.
class ViewRegistry {
public:
    enum class Lookup { kFound, kUnknown, kFailed };

    ViewRegistry(Libraries& libraries, Reporter& reporter)
        : libraries_(libraries), reporter_(reporter) {}

    // A copy of every registered view (work-space entries left out); false
    // when the list could not be read (the failure is reported).
    bool Views(std::vector<RegisteredView>* views);
    // Whether the server knows the tag, and on which host. kUnknown only
    // when the server positively says so.
    Lookup Find(const std::string& tag, std::string* host);

private:
    void StartMessageSystem();
    bool ReadViews(const std::string& region, std::vector<RegisteredView>* views);

    Libraries& libraries_;
    Reporter& reporter_;
    std::mutex startLock_;
    std::atomic<bool> messagesStarted_{false};
    std::mutex refreshLock_;  // the cached list and its stamp
    bool haveList_ = false;
    rgy_timestamp_t* stamp_ = nullptr;
    std::vector<RegisteredView> views_;
};

}  // namespace vtrelnp
