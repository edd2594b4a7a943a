// Stand-in for the product's status texts.
#include <cstdio>

#include "vtrelnp/standins/Scenario.h"

using namespace standin;

STANDIN_EXPORT const char* tbs_strerror(korva_status_t status) {
    switch (status) {
        case 0:
            return "Success";
        case RGY_S_NO_MORE_ENTRIES:
            return "No more entries";
        case RGY_S_NOT_FOUND:
            return "Entry not found in registry";
        case RGY_S_SERVER_DOWN:
            return "Unable to contact registry server";
        case kStartFailed:
            return "Unable to start view";
        case kKsInitFailed:
            return "Message system not initialised";
        default: {
            thread_local char text[48];
            std::snprintf(text, sizeof text, "Unknown status 0x%08lx",
                          static_cast<unsigned long>(status));
            return text;
        }
    }
}
