// Stand-in for the product's command library: records each view start.
#include "vtrelnp/standins/Scenario.h"

using namespace standin;

STANDIN_EXPORT korva_status_t cmd_startview(int count, const char* const* tags) {
    const Scenario s = Load();
    std::string list;
    korva_status_t status = 0;
    for (int i = 0; i < count && tags != nullptr; ++i) {
        const std::string tag = tags[i] != nullptr ? tags[i] : "";
        list += (i == 0 ? "" : ", ") + tag;
        if (status == 0) {
            status = s.FailureFor("cmd_startview", tag);
        }
    }
    Log("cmd_startview(" + list + ") = " + StatusName(status));
    return status;
}
