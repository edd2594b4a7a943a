#include "link/ProductDir.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <shlobj.h>
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

namespace {

// The narrow form the rest of the program opens files with; empty when the
// code page cannot spell it.
std::string Narrow(const wchar_t* wide) {
    BOOL lossy = FALSE;
    const int n =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, &lossy);
    if (n <= 1 || lossy) return {};
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, text.data(), n, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(n - 1));
    return text;
}

}  // namespace

std::string DefaultBackupFolder() {
    PWSTR wide = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &wide))) {
        folder = Narrow(wide);
        if (folder.empty()) {
            // A user name the code page cannot spell: its short form can.
            wchar_t shortPath[MAX_PATH] = {};
            const DWORD n = GetShortPathNameW(wide, shortPath, MAX_PATH);
            if (n > 0 && n < MAX_PATH) folder = Narrow(shortPath);
        }
    }
    CoTaskMemFree(wide);
    if (folder.empty()) return {};
    if (folder.back() != '\\') folder += '\\';
    return folder + "CalvexVHXR\\backups\\";
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

#ifndef _WIN32
std::string DefaultBackupFolder() {
    return BackupFolderIn(ProductDir());
}
#endif
