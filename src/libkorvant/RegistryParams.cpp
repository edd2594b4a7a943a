// Product, driver and application parameters of the registry store.
#include <cstring>

#include "libkorvant/ParamTables.h"
#include "libkorvant/RegistryStore.h"
#include "libkorvant/TextUtil.h"
#include "libkorvant/ValueFormats.h"

namespace korvant {

namespace {

// Size of the data a parameter write stores, following the type.
long DataFor(std::uint32_t type, std::uintptr_t data, std::uint32_t* number, const void** bytes,
             std::uint32_t* size) {
    switch (type) {
        case kRegSz:
        case kRegExpandSz:
            if (data == 0) {
                return kErrInvalidParameter;
            }
            *bytes = reinterpret_cast<const void*>(data);
            *size = static_cast<std::uint32_t>(std::strlen(static_cast<const char*>(*bytes)) + 1);
            return 0;
        case kRegDword:
            *number = static_cast<std::uint32_t>(data);
            *bytes = number;
            *size = 4;
            return 0;
        case kRegDwordBigEndian: {
            const std::uint32_t v = static_cast<std::uint32_t>(data);
            *number = (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
            *bytes = number;
            *size = 4;
            return 0;
        }
        case kRegMultiSz:
            if (data == 0) {
                return kErrInvalidParameter;
            }
            *bytes = reinterpret_cast<const void*>(data);
            *size = static_cast<std::uint32_t>(MultiStringLength(static_cast<const char*>(*bytes)));
            return 0;
        default:
            return kErrInvalidParameter;
    }
}

}  // namespace

long RegistryStore::GetParam(int index, std::uint32_t* size, void* buffer, const char* machine) {
    const ProductParam* param = FindProductParam(index);
    if (param == nullptr) {
        return kErrInvalidParameter;
    }
    return ReadTyped(param->root, CommonKey(), param->name, param->type, buffer, size, machine,
                     param->name);
}

long RegistryStore::SetParam(int index, std::uintptr_t data, const char* machine) {
    const ProductParam* param = FindProductParam(index);
    if (param == nullptr) {
        return kErrInvalidParameter;
    }
    std::uint32_t number = 0;
    const void* bytes = nullptr;
    std::uint32_t size = 0;
    if (const long error = DataFor(param->type, data, &number, &bytes, &size); error != 0) {
        return error;
    }
    return WriteTyped(param->root, CommonKey(), param->name, param->type, bytes, size, machine,
                      param->name);
}

long RegistryStore::DelParam(int index, const char* machine) {
    const ProductParam* param = FindProductParam(index);
    if (param == nullptr) {
        return kErrInvalidParameter;
    }
    if (OnProfile()) {
        return machine != nullptr ? kErrCallNotImplemented
                                  : platform_.ProfileSet(kProfileSection, param->name, nullptr);
    }
    RegKey base = 0;
    if (const long error = OpenRoot(machine, param->root, &base); error != 0) {
        return error;
    }
    const long error = DelValue(base, CommonKey(), param->name);
    CloseRoot(machine, base);
    return error;
}

std::uint32_t RegistryStore::GetDatatype(int index) {
    const ProductParam* param = FindProductParam(index);
    return param != nullptr ? param->type : kRegNone;
}

std::string RegistryStore::DriverKey() {
    return system_.Win32Platform() == 2
               ? "\\SYSTEM\\CurrentControlSet\\Services\\dlfs\\Parameters"
               : "\\SYSTEM\\CurrentControlSet\\Services\\VxD\\dlfs\\Parameters";
}

long RegistryStore::GetDlfsParam(int index, void* buffer, std::uint32_t* size,
                                 const char* machine) {
    const DriverParam* param = FindDriverParam(index);
    if (param == nullptr) {
        return kErrInvalidParameter;
    }
    return ReadTyped(kHkeyLocalMachine, DriverKey(), param->name, param->type, buffer, size,
                     machine, param->name);
}

long RegistryStore::SetDlfsParam(int index, std::uintptr_t value, const char* machine) {
    const DriverParam* param = FindDriverParam(index);
    if (param == nullptr) {
        return kErrInvalidParameter;
    }
    if (index == kXnSuffixIndex) {
        return kErrBadArguments;
    }
    std::uint32_t number = 0;
    const void* bytes = nullptr;
    std::uint32_t size = 0;
    if (const long error = DataFor(param->type, value, &number, &bytes, &size); error != 0) {
        return error;
    }
    return WriteTyped(kHkeyLocalMachine, DriverKey(), param->name, param->type, bytes, size,
                      machine, param->name);
}

long RegistryStore::DefaultDlfsParam(int index, const char* machine) {
    const DriverParam* param = FindDriverParam(index);
    if (param == nullptr) {
        return kErrInvalidParameter;
    }
    if (index == kXnSuffixIndex) {
        return 0;
    }
    const std::uintptr_t value = param->type == kRegSz
                                     ? reinterpret_cast<std::uintptr_t>(param->defaultText)
                                     : param->defaultNumber;
    return SetDlfsParam(index, value, machine);
}

long RegistryStore::GetDefaultParam(int index, void* buffer, std::uint32_t size) {
    const DriverParam* param = FindDriverParam(index);
    if (param == nullptr || buffer == nullptr) {
        return kErrInvalidParameter;
    }
    if (param->type == kRegSz) {
        const std::size_t needed = std::strlen(param->defaultText) + 1;
        if (size < needed) {
            return 1;
        }
        std::memcpy(buffer, param->defaultText, needed);
        return 0;
    }
    if (size < 4) {
        return 1;
    }
    std::memcpy(buffer, &param->defaultNumber, 4);
    return 0;
}

std::string RegistryStore::AppKey(const char* app) {
    return std::string(CommonKey()) + "\\" + app;
}

long RegistryStore::GetAppParam(const char* app, const char* name, std::uint32_t* size,
                                void* buffer, const char* machine) {
    if (app == nullptr || name == nullptr) {
        return kErrInvalidParameter;
    }
    return ReadTyped(kHkeyCurrentUser, AppKey(app), name, 0, buffer, size, machine,
                     std::string(app) + name);
}

long RegistryStore::SetAppParam(const char* app, const char* name, std::uint32_t type,
                                std::uintptr_t data, const char* machine) {
    if (app == nullptr || name == nullptr) {
        return kErrInvalidParameter;
    }
    std::uint32_t number = 0;
    const void* bytes = nullptr;
    std::uint32_t size = 0;
    if (const long error = DataFor(type, data, &number, &bytes, &size); error != 0) {
        return error;
    }
    if (type == kRegMultiSz) {
        size += 1;  // application lists carry their final terminator
    }
    return WriteTyped(kHkeyCurrentUser, AppKey(app), name, type, bytes, size, machine,
                      std::string(app) + name);
}

long RegistryStore::GetAppGeometry(const char* app, std::int32_t* x, std::int32_t* y,
                                   std::int32_t* width, std::int32_t* height, const char* machine) {
    if (app == nullptr) {
        return kErrInvalidParameter;
    }
    char text[kGeometryBufferSize] = {};
    std::uint32_t size = sizeof text;
    if (const long error = ReadTyped(kHkeyCurrentUser, AppKey(app), "Geometry", kRegSz, text, &size,
                                     machine, std::string(app) + "Geometry");
        error != 0) {
        return error;
    }
    std::int32_t values[4] = {};
    if (!ParseGeometry(text, values)) {
        return kErrInvalidData;
    }
    std::int32_t* outs[4] = {x, y, width, height};
    for (int i = 0; i < 4; ++i) {
        if (outs[i] != nullptr) {
            *outs[i] = values[i];
        }
    }
    return 0;
}

long RegistryStore::SetAppGeometry(const char* app, std::int32_t x, std::int32_t y,
                                   std::int32_t width, std::int32_t height, const char* machine) {
    if (app == nullptr) {
        return kErrInvalidParameter;
    }
    const std::string text = FormatGeometry(x, y, width, height);
    return WriteTyped(kHkeyCurrentUser, AppKey(app), "Geometry", kRegSz, text.c_str(),
                      static_cast<std::uint32_t>(text.size() + 1), machine,
                      std::string(app) + "Geometry");
}

const char* RegistryStore::CommonKey() {
    if (!haveCommonKey_) {
        std::string key = "\\Software\\" + company_;
        if (!product_.empty()) {
            key += "\\" + product_;
        }
        if (!version_.empty()) {
            key += "\\" + version_;
        }
        CopyTruncated(commonKey_, sizeof commonKey_, key);
        haveCommonKey_ = true;
    }
    return commonKey_;
}

const char* RegistryStore::CommonKeyMfcStyle() {
    if (!haveMfcKey_) {
        std::string key = company_;
        if (!product_.empty()) {
            key += "\\" + product_;
        }
        if (!version_.empty()) {
            key += "\\" + version_;
        }
        CopyTruncated(mfcKey_, sizeof mfcKey_, key);
        haveMfcKey_ = true;
    }
    return mfcKey_;
}

long RegistryStore::SetProductType(const char* company, const char* product, const char* version) {
    auto tooLong = [](const char* s) { return s != nullptr && std::strlen(s) > kMaxProductName; };
    if (tooLong(company) || tooLong(product) || tooLong(version)) {
        return kErrInvalidParameter;
    }
    if (company != nullptr) {
        company_ = company;
        product_ = product != nullptr ? product : "";
    } else {
        product_.clear();
    }
    version_ = version != nullptr ? version : "";
    return 0;
}

void RegistryStore::GetProductType(const char** company, const char** product,
                                   const char** version) {
    if (company != nullptr && product != nullptr) {
        *company = company_.c_str();
        *product = product_.c_str();
    }
    if (version != nullptr) {
        *version = version_.c_str();
    }
}

long RegistryStore::CommonKeyModtime(std::uint64_t* fileTime, const char* machine) {
    if (fileTime == nullptr) {
        return kErrInvalidParameter;
    }
    if (OnProfile()) {
        if (machine != nullptr) {
            return kErrCallNotImplemented;
        }
        return platform_.ProfileWriteTime(fileTime) ? 0 : kErrFileNotFound;
    }
    RegKey base = 0;
    if (const long error = OpenRoot(machine, kHkeyLocalMachine, &base); error != 0) {
        return error;
    }
    RegKey key = 0;
    long error = GetHandle(base, CommonKey(), kKeyRead, &key);
    if (error == 0) {
        error = platform_.RegKeyWriteTime(key, fileTime);
        platform_.RegClose(key);
    }
    CloseRoot(machine, base);
    return error;
}

long RegistryStore::UpdateProductInfoKeys(const char* text, const char* machine) {
    if (text == nullptr) {
        return kErrInvalidParameter;
    }
    const std::string strings = MultiStringFromText(text);
    const ProductParam* param = FindProductParam(kParamProductInfoKeys);
    return WriteTyped(param->root, CommonKey(), param->name, kRegMultiSz, strings.data(),
                      static_cast<std::uint32_t>(strings.size()), machine, param->name);
}

}  // namespace korvant
