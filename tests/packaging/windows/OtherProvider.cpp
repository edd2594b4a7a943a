// A second network provider for the installer tests. It only tells the
// router who it is, which is enough to show that the router still loads it
// beside Vantrel's after an install and an uninstall.
#include <windows.h>

namespace {

constexpr DWORD kSpecVersion = 1;
constexpr DWORD kNetType = 2;
constexpr DWORD kDriverVersion = 3;

}  // namespace

extern "C" DWORD APIENTRY NPGetCaps(DWORD index) {
    switch (index) {
        case kSpecVersion:
            return 0x50001;
        case kNetType:
            return 0x00FE0000;
        case kDriverVersion:
            return 1;
        default:
            return 0;
    }
}
