// Stand-in for the product's message system.
#include "vtrelnp/standins/Scenario.h"

using namespace standin;

STANDIN_EXPORT korva_status_t ks_system_init(void) {
    const korva_status_t status = Load().FailureFor("ks_system_init");
    Log("ks_system_init() = " + StatusName(status));
    return status;
}

STANDIN_EXPORT void imsg_set_app_name(const char* name) {
    Log(std::string("imsg_set_app_name(") + (name != nullptr ? name : "<null>") + ")");
}
