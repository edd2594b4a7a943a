#include <windows.h>

#include <string>

#include "libkorvant/wine/KorvantDll.h"

namespace {

using LoadResourceFn = HMODULE (*)(HMODULE, int);

std::string SystemLanguage() {
    char name[16] = {};
    GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_SABBREVLANGNAME, name, sizeof name);
    return name;
}

TEST(ResourceLibrary, NoneForEnglishOtherwiseFromTheResdllFolder) {
    auto load = KorvantDll::Fn<LoadResourceFn>("nt_load_resource_dll");
    const std::string language = SystemLanguage();
    if (language == "ENU") {
        EXPECT_EQ(load(nullptr, 0), nullptr);
        return;
    }
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir.erase(dir.find_last_of('\\'));
    const std::string resdll = dir + "\\resdll";
    CreateDirectoryA(resdll.c_str(), nullptr);
    const std::string plain = resdll + "\\korvant_dll_tests_" + language + ".rsc";
    const std::string wide = resdll + "\\korvant_dll_tests_" + language + "u.rsc";
    EXPECT_EQ(load(nullptr, 0), nullptr) << "nothing to load yet";
    // Any image will do: resource libraries are loaded as data.
    char library[MAX_PATH];
    GetModuleFileNameA(KorvantDll::Module(), library, MAX_PATH);
    ASSERT_TRUE(CopyFileA(library, plain.c_str(), FALSE));
    HMODULE loaded = load(nullptr, 0);
    EXPECT_NE(loaded, nullptr) << language;
    EXPECT_EQ(load(nullptr, 1), nullptr) << "the flag picks another file";
    if (loaded != nullptr) {
        FreeLibrary(loaded);
    }
    DeleteFileA(plain.c_str());
    DeleteFileA(wide.c_str());
    RemoveDirectoryA(resdll.c_str());
}

}  // namespace
