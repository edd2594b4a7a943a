#pragma once

#include <string>
#include <vector>

#include "vtrelnp/Libraries.h"
#include "vtrelnp/Reporter.h"
#include "vtrelnp/System.h"

namespace vtrelnp {

struct RegisteredView {
    std::string tag;
    std::string host;
};

// The views registered with the product's registry server. The list is
// kept for the process with the server's timestamp and read again only
// when the server says it changed.
class ViewRegistry {
public:
    enum class Lookup { kFound, kUnknown, kFailed };

    ViewRegistry(System& system, Libraries& libraries, Reporter& reporter)
        : system_(system), libraries_(libraries), reporter_(reporter) {}

    // A copy of every registered view (work-space entries left out); false
    // when the list could not be read (the failure is reported).
    bool Views(std::vector<RegisteredView>* views);
    // Whether the server knows the tag, and on which host. kUnknown only
    // when the server positively says so.
    Lookup Find(const std::string& tag, std::string* host);

private:
    void StartMessageSystem();
    bool ReadViews(const std::string& region, std::vector<RegisteredView>* views);

    System& system_;
    Libraries& libraries_;
    Reporter& reporter_;
    bool messagesStarted_ = false;
    bool haveList_ = false;
    rgy_timestamp_t* stamp_ = nullptr;
    std::vector<RegisteredView> views_;
};

}  // namespace vtrelnp
