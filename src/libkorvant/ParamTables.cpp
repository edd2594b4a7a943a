#include "libkorvant/ParamTables.h"

namespace korvant {

namespace {

constexpr RegKey LM = kHkeyLocalMachine;
constexpr RegKey CU = kHkeyCurrentUser;

constexpr ProductParam kProduct[kProductParamCount] = {
    {"KorvaRegy", LM, kRegSz},                            // 0
    {"Region", LM, kRegSz},                               // 1
    {"InteropRegion", LM, kRegSz},                        // 2
    {"Geometry", LM, kRegSz},                             // 3
    {nullptr, 0, kRegNone},                               // 4 reserved
    {nullptr, 0, kRegNone},                               // 5 reserved
    {"ProductInfoKeys", LM, kRegMultiSz},                 // 6
    {"KorvaMsgHome", LM, kRegSz},                         // 7
    {"ProductHome", LM, kRegSz},                          // 8
    {"DisableAutomounting", LM, kRegDword},               // 9
    {"NoPersistentKIVPopup", CU, kRegDword},              // 10
    {"LookupOnlyFqNames", LM, kRegDword},                 // 11
    {"AdminsArePrivileged", LM, kRegDword},               // 12
    {"VantrelGroupName", LM, kRegSz},                     // 13
    {"LockmgrCmdLine", LM, kRegSz},                       // 14
    {"ServerType", LM, kRegSz},                           // 15
    {"HostData", LM, kRegSz},                             // 16
    {"IdHelper", LM, kRegSz},                             // 17
    {"RegBackup", LM, kRegSz},                            // 18
    {"PersistentKIVs", CU, kRegSz},                       // 19
    {"RecentlyUsedViews", CU, kRegSz},                    // 20
    {"RecentlyUsedViewsMaxLen", CU, kRegDword},           // 21
    {"UseNonAlphaDrives", CU, kRegDword},                 // 22
    {"SCC", CU, kRegSz},                                  // 23
    {"ProjectRoot", LM, kRegSz},                          // 24
    {"Connected", CU, kRegDword},                         // 25
    {"ViewInterop", CU, kRegDword},                       // 26
    {"EnableCredmap", LM, kRegDword},                     // 27
    {"DisableDomainPrefix", LM, kRegDword},               // 28
    {"DisableVtfsServer", LM, kRegDword},                 // 29
    {"DisableVtfsClient", LM, kRegDword},                 // 30
    {"VtfsServerMaxConnections", LM, kRegDword},          // 31
    {"VtfsServerDataTimeout", LM, kRegDword},             // 32
    {"VtfsClientMaxDataRetransmissions", LM, kRegDword},  // 33
    {"VtfsClientDataTimeout", LM, kRegDword},             // 34
    {"VtfsClientAllowedServerType", LM, kRegDword},       // 35
    {"DomainMappingEnabled", CU, kRegDword},              // 36
    {"DomainMappingKeyword", CU, kRegSz},                 // 37
    {"InstallConfiguration", LM, kRegDword},              // 38
    {"NetworkReleaseArea", LM, kRegSz},                   // 39
    {"DisableQmbdGroupCheck", LM, kRegDword},             // 40
    {"LargeRIDs", LM, kRegDword},                         // 41
    {"SmtpServerHost", LM, kRegSz},                       // 42
    {"VtfsClientUseUnsharedServer", LM, kRegDword},       // 43
    {"DisallowRemoteAdministration", LM, kRegDword},      // 44
    {"ShmemTotalAreaSize", CU, kRegDword},                // 45
    {"ShmemMaxNumberOfSubAreas", CU, kRegDword},          // 46
    {"KivSchemaRev", LM, kRegDword},                      // 47
    {"CredmapAllowedDomainList", LM, kRegMultiSz},        // 48
    {"ServerSetupComplete", LM, kRegDword},               // 49
    {"CredmapNoEntTimeToLive", LM, kRegDword},            // 50
    {"HistoryModeSuffix", LM, kRegSz},                    // 51
    {"SavedKorvaRegy", LM, kRegSz},                       // 52
    {nullptr, 0, kRegNone},                               // 53 reserved
    {"EnablePrivateShmem", LM, kRegDword},                // 54
    {"DomainMappingEnabled", LM, kRegDword},              // 55
    {"DomainMappingKeyword", LM, kRegSz},                 // 56
    {"WsRootCacheLifetime", LM, kRegDword},               // 57
    {"CheckinPreserveTime", CU, kRegDword},               // 58
    {"CheckoutPreserveTime", CU, kRegDword},              // 59
    {"UseRCL", LM, kRegDword},                            // 60
    {"SetPrimaryGroupAtLogon", LM, kRegDword},            // 61
    {"DisableGecos", LM, kRegDword},                      // 62
};

constexpr DriverParam kDriver[kDriverParamCount] = {
    {"acenabled", kRegDword, 1, nullptr},                 // 0
    {"auditbufsiz", kRegDword, 16384, nullptr},           // 1
    {"cowbufsiz", kRegDword, 4096, nullptr},              // 2
    {"ctoenabled", kRegDword, 1, nullptr},                // 3
    {"cvpfreemax", kRegDword, 0, nullptr},                // 4
    {"dncdirmax", kRegDword, 0, nullptr},                 // 5
    {"dncenabled", kRegDword, 1, nullptr},                // 6
    {"dncnoentenabled", kRegDword, 1, nullptr},           // 7
    {"dncnoentmax", kRegDword, 0, nullptr},               // 8
    {"dncregmax", kRegDword, 0, nullptr},                 // 9
    {"duplsearchmax", kRegDword, 40, nullptr},            // 10
    {"idleview_timeout", kRegDword, 300, nullptr},        // 11
    {"largeinit", kRegDword, 1, nullptr},                 // 12
    {"major", kRegDword, 200, nullptr},                   // 13
    {"max_rpcdelay", kRegDword, 30, nullptr},             // 14
    {"mnmax", kRegDword, 0, nullptr},                     // 15
    {"rebind_dir_enable", kRegDword, 1, nullptr},         // 16
    {"rebind_view_enable", kRegDword, 1, nullptr},        // 17
    {"rlenabled", kRegDword, 1, nullptr},                 // 18
    {"rvcenabled", kRegDword, 1, nullptr},                // 19
    {"kivfreemax", kRegDword, 0, nullptr},                // 20
    {"xnsuffix", kRegSz, 0, "@@"},                        // 21
    {"logdir", kRegSz, 0, "\\DosDevices\\C:\\dlfslogs"},  // 22
    {"ciflag", kRegDword, 1, nullptr},                    // 23
    {"qmbdwkp", kRegDword, 371, nullptr},                 // 24
    {"drive", kRegSz, 0, "M"},                            // 25
    {"logonaction", kRegDword, 0, nullptr},               // 26
    {"rpccache", kRegDword, 5, nullptr},                  // 27
    {"view_netname", kRegSz, 0, "view"},                  // 28
    {"ulogdir", kRegSz, 0, "C:\\dlfslogs"},               // 29
    {"viewtagdiropt", kRegDword, 1, nullptr},             // 30
    {"vtcredscantime", kRegDword, 60, nullptr},           // 31
    {"rddirblocks", kRegDword, 4, nullptr},               // 32
    {"view_rebind_timeout", kRegDword, 7200, nullptr},    // 33
    {"kivfreemin", kRegDword, 0, nullptr},                // 34
    {"age_cvp_time_sec", kRegDword, 172800, nullptr},     // 35
    {"cvpfreemin", kRegDword, 0, nullptr},                // 36
    {"kivhashtab_sz", kRegDword, 0, nullptr},             // 37
    {"cvphashtab_sz", kRegDword, 0, nullptr},             // 38
    {"otherhashtab_sz", kRegDword, 0, nullptr},           // 39
    {"kivfreehashtab_sz", kRegDword, 0, nullptr},         // 40
};

}  // namespace

const ProductParam* FindProductParam(int index) {
    if (index < 0 || index >= kProductParamCount || kProduct[index].name == nullptr) {
        return nullptr;
    }
    return &kProduct[index];
}

const DriverParam* FindDriverParam(int index) {
    if (index < 0 || index >= kDriverParamCount) {
        return nullptr;
    }
    return &kDriver[index];
}

}  // namespace korvant
