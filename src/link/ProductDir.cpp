#include "link/ProductDir.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef _WIN32

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::string dir(path, n);
    const auto cut = dir.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : dir.substr(0, cut + 1);
}

}  // namespace

std::string ProductDir() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Calvex V HXR", 0, KEY_QUERY_VALUE,
                      &key) == ERROR_SUCCESS) {
        // 256 bytes: at most 255 characters and the terminator. One byte
        // more is kept free for a value stored without its terminator.
        char buf[257] = {};
        DWORD size = 256;
        DWORD type = 0;
        const LONG r = RegQueryValueExA(key, "ProductDir", nullptr, &type,
                                        reinterpret_cast<BYTE*>(buf), &size);
        RegCloseKey(key);
        const std::size_t length = r == ERROR_SUCCESS ? strnlen(buf, size) : 0;
        if (r == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) && length > 0 &&
            length <= 255) {
            return std::string(buf, length);
        }
    }
    return ProgramFolder();
}

std::string SettingsPathIn(const std::string& productDir) {
    if (productDir.empty()) return {};
    return productDir + "lib\\CalvexV.ini";
}

std::string BackupFolderIn(const std::string& productDir) {
    if (productDir.empty()) return {};
    return productDir + "backups\\";
}

#else

namespace {

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace

std::string ProductDir() {
    if (const char* dir = std::getenv("CALVEX_PRODUCT_DIR"); dir && *dir) return WithSlash(dir);
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        return WithSlash(xdg) + "CalvexVHXR/";
    }
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        return WithSlash(home) + ".local/share/CalvexVHXR/";
    }
    return {};
}

std::string SettingsPathIn(const std::string& productDir) {
    if (productDir.empty()) return {};
    return WithSlash(productDir) + "lib/CalvexV.ini";
}

std::string BackupFolderIn(const std::string& productDir) {
    if (productDir.empty()) return {};
    return WithSlash(productDir) + "backups/";
}

#endif

std::string DefaultSettingsPath() {
    return SettingsPathIn(ProductDir());
}

std::string DefaultBackupFolder() {
    return BackupFolderIn(ProductDir());
}
