// CalvexVHXR.exe as Windows sees it: a window program (no console) with its
// icon, version and manifest in the resources, and the Qt runtime beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Version.h"

namespace {

const std::string kProgram = "Z:" CALVEX_PROGRAM_EXE;

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryExA(kProgram.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m_module, nullptr) << kProgram << ": " << GetLastError();
    }
    void TearDown() override {
        if (m_module) FreeLibrary(m_module);
    }
    std::string Resource(LPCSTR type, LPCSTR name) {
        HRSRC found = FindResourceA(m_module, name, type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(m_module, found);
        const char* data = static_cast<const char*>(LockResource(loaded));
        return data ? std::string(data, SizeofResource(m_module, found)) : std::string();
    }
    HMODULE m_module = nullptr;
};

std::string VersionText(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT size = 0;
    const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &size))
        return {};
    return std::string(value, size ? size - 1 : 0);
}

TEST(ProgramImage, IsAWindowProgramWithoutAConsole) {
    std::ifstream in(kProgram, std::ios::binary);
    std::vector<char> head(4096);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    ASSERT_EQ(in.gcount(), static_cast<std::streamsize>(head.size()));
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, head.data(), sizeof dos);
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    ASSERT_LT(static_cast<std::size_t>(dos.e_lfanew) + sizeof(IMAGE_NT_HEADERS), head.size());
    IMAGE_NT_HEADERS nt;
    std::memcpy(&nt, head.data() + dos.e_lfanew, sizeof nt);
    ASSERT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST_F(Program, CarriesItsVersionIconAndManifest) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(kProgram.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(kProgram.c_str(), 0, size, info.data()));
    EXPECT_EQ(VersionText(info, "ProductName"), "Calvex V HXR");
    EXPECT_EQ(VersionText(info, "CompanyName"), "Corvane");
    EXPECT_EQ(VersionText(info, "FileDescription"), "Calvex V Two Tone Pager Programming Software");
    EXPECT_EQ(VersionText(info, "ProductVersion"), CALVEX_VERSION);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    const std::string dotted = std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." +
                               std::to_string(LOWORD(fixed->dwProductVersionMS)) + "." +
                               std::to_string(HIWORD(fixed->dwProductVersionLS));
    EXPECT_EQ(dotted, CALVEX_VERSION);

    // The first icon group is the one Explorer shows: every size it asks for.
    const std::string icons = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(128));
    ASSERT_GE(icons.size(), 6u);
    EXPECT_EQ(static_cast<unsigned char>(icons[4]), 6u);  // GRPICONDIR idCount

    const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
    for (const char* part : {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
                             "level=\"asInvoker\"", "PerMonitorV2"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part << " is not in\n" << manifest;
}

TEST(ProgramFolder, HoldsWhatTheProgramLoads) {
    std::string folder = kProgram.substr(0, kProgram.find_last_of('/') + 1);
    for (const char* file :
         {"Qt6Core.dll", "Qt6Gui.dll", "Qt6Widgets.dll", "Qt6PrintSupport.dll", "libstdc++-6.dll",
          "libgcc_s_seh-1.dll", "libwinpthread-1.dll", "platforms/qwindows.dll",
          "platforms/qoffscreen.dll", "styles/qwindowsvistastyle.dll", "help/index.html"}) {
        EXPECT_NE(GetFileAttributesA((folder + file).c_str()), INVALID_FILE_ATTRIBUTES) << file;
    }
}

}  // namespace
