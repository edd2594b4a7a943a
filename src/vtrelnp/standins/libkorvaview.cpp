// Stand-in for the product's view library: knows which identities belong
// to work-space entries of the scenario.
#include <cstring>

#include "vtrelnp/standins/Scenario.h"

using namespace standin;

STANDIN_EXPORT int view_ws_is_ws_uuid(const rgy_uuid_t* uuid) {
    int answer = 0;
    std::string tag = "?";
    if (uuid != nullptr) {
        for (const View& v : Load().views) {
            if (std::memcmp(v.uuid.bytes, uuid->bytes, sizeof uuid->bytes) == 0) {
                answer = v.workspace ? 1 : 0;
                tag = v.tag;
                break;
            }
        }
    }
    Log("view_ws_is_ws_uuid(" + tag + ") = " + std::to_string(answer));
    return answer;
}
