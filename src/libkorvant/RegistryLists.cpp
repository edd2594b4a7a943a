// Per-user lists, the registry-server password, tree removal and the
// administrators switch of the registry store.
#include <cstring>

#include "libkorvant/NameList.h"
#include "libkorvant/ParamTables.h"
#include "libkorvant/RegistryStore.h"
#include "libkorvant/TextUtil.h"
#include "libkorvant/ValueFormats.h"

namespace korvant {

namespace {

constexpr std::uint32_t kDefaultRecentViews = 5;
constexpr std::size_t kMaxComputerName = 16;

}  // namespace

long RegistryStore::GetRgyPasswd(char* buffer, std::uint32_t* size, const char* machine) {
    return ReadTyped(kHkeyLocalMachine, std::string(CommonKey()) + "\\Security", "RegPasswd",
                     kRegSz, buffer, size, machine, "RegPasswd");
}

long RegistryStore::SetRgyPasswd(const char* password, const char* machine) {
    if (password == nullptr) {
        return kErrInvalidParameter;
    }
    return WriteTyped(kHkeyLocalMachine, std::string(CommonKey()) + "\\Security", "RegPasswd",
                      kRegSz, password, static_cast<std::uint32_t>(std::strlen(password) + 1),
                      machine, "RegPasswd");
}

long RegistryStore::DelRgySvrtype(const char* machine) {
    const long error = DelParam(kParamServerType, machine);
    return error == kErrFileNotFound ? 0 : error;
}

long RegistryStore::ReadList(int index, std::string* list) {
    char buffer[kListBufferSize] = {};
    std::uint32_t size = sizeof buffer;
    const long error = GetParam(index, &size, buffer, nullptr);
    if (error == kErrFileNotFound) {
        list->clear();
        return 0;
    }
    if (error != 0) {
        return error;
    }
    *list = buffer;
    return 0;
}

long RegistryStore::WriteList(int index, const std::string& list) {
    return SetParam(index, reinterpret_cast<std::uintptr_t>(list.c_str()), nullptr);
}

long RegistryStore::AddPersistentKiv(const char* name) {
    if (name == nullptr) {
        return kErrInvalidParameter;
    }
    std::string list;
    if (const long error = ReadList(kParamPersistentKivs, &list); error != 0) {
        return error;
    }
    if (*name == '\0' || !ListAppend(&list, name)) {
        return 0;
    }
    return WriteList(kParamPersistentKivs, list);
}

long RegistryStore::RemovePersistentKiv(const char* name) {
    std::string list;
    if (const long error = ReadList(kParamPersistentKivs, &list); error != 0) {
        return error;
    }
    if (name != nullptr) {
        list = ListRemove(list, name);
    }
    return WriteList(kParamPersistentKivs, list);
}

long RegistryStore::AddToRecentViews(const char* tag) {
    if (tag == nullptr) {
        return kErrInvalidParameter;
    }
    if (*tag == '\0') {
        return 0;  // an empty tag would put an empty entry at the front
    }
    std::uint32_t maxCount = 0;
    std::uint32_t size = sizeof maxCount;
    long error = GetParam(kParamRecentViewsMax, &size, &maxCount, nullptr);
    if (error == kErrFileNotFound) {
        maxCount = kDefaultRecentViews;
        error = SetParam(kParamRecentViewsMax, kDefaultRecentViews, nullptr);
    }
    if (error != 0) {
        return error;
    }
    std::string list;
    if (error = ReadList(kParamRecentViews, &list); error != 0) {
        return error;
    }
    return WriteList(kParamRecentViews,
                     RecentViewsWith(list, tag, static_cast<std::int32_t>(maxCount)));
}

long RegistryStore::DelFromRecentViews(const char* tag) {
    if (tag == nullptr) {
        return kErrInvalidParameter;
    }
    std::string list;
    if (const long error = ReadList(kParamRecentViews, &list); error != 0) {
        return error;
    }
    return WriteList(kParamRecentViews, ListRemove(list, tag));
}

long RegistryStore::DelVantrelTree(const char* machine) {
    if (OnProfile()) {
        return machine != nullptr ? kErrCallNotImplemented : 0;
    }
    RegKey base = 0;
    if (const long error = OpenRoot(machine, kHkeyLocalMachine, &base); error != 0) {
        return error;
    }
    std::vector<std::string> parts = SplitPath(std::string(CommonKey()) + "\\Security");
    long result = 0;
    // Delete upwards; \Software itself always stays.
    while (parts.size() > 1) {
        std::string path;
        for (const std::string& part : parts) {
            path += "\\" + part;
        }
        const long error = DelKey(base, path.c_str());
        if (error == kErrAccessDenied) {
            break;
        }
        if (error != 0 && error != kErrFileNotFound) {
            result = error;
            break;
        }
        parts.pop_back();
    }
    CloseRoot(machine, base);
    return result;
}

int RegistryStore::AdminsArePrivileged() {
    if (!haveAdmins_) {
        haveAdmins_ = true;
        admins_ = 0;
        std::string computer;
        if (platform_.ComputerName(&computer) && !computer.empty() &&
            computer.size() <= kMaxComputerName) {
            const std::string name = AdminsValueName(computer);
            std::uint32_t value = 0;
            std::uint32_t size = sizeof value;
            if (ReadTyped(kHkeyLocalMachine, CommonKey(), name.c_str(), kRegDword, &value, &size,
                          nullptr, name) == 0 &&
                value != 0) {
                admins_ = 1;
            }
        }
    }
    return admins_;
}

}  // namespace korvant
