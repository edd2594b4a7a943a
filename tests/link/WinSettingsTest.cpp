// Communication settings on Windows: "ProductDir" from the registry and the
// settings file with CR LF after its first line.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "codeplug/CCodeplug.h"
#include "link/CCommPort.h"
#include "link/PagerBackups.h"
#include "link/ProductDir.h"

namespace {

const char* const kKey = "SOFTWARE\\Corvane\\Calvex V HXR";

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        char tmp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, tmp);
        m_dir =
            std::string(tmp) + "calvex-settings-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_dir.c_str(), nullptr);
        CreateDirectoryA((m_dir + "lib").c_str(), nullptr);
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
        DeleteFileA((m_dir + "lib\\CalvexV.ini").c_str());
        RemoveDirectoryA((m_dir + "lib").c_str());
        RemoveDirectoryA(m_dir.c_str());
    }
    void SetProductDir(const std::string& value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, "ProductDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
    std::string m_dir;
};

TEST_F(Registry, SettingsFileBelowProductDirWithCrLf) {
    SetProductDir(m_dir);
    EXPECT_EQ(ProductDir(), m_dir);
    EXPECT_EQ(DefaultSettingsPath(), m_dir + "lib\\CalvexV.ini");
    {
        CCommPort program;
        EXPECT_EQ(program.PortName(), "COM1");
        EXPECT_EQ(program.Delay(), 3000);
        program.SelectPort(9);
        program.SetDelayIndex(3);
    }
    std::ifstream in(m_dir + "lib\\CalvexV.ini", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "CommPort = COM10\r\nUSBDelay = 5000");
    in.close();
    CCommPort again;
    EXPECT_EQ(again.PortName(), "COM10");
    EXPECT_EQ(again.Delay(), 5000);
}

TEST_F(Registry, ValueIsJoinedAsItIs) {
    SetProductDir("C:\\Calvex");
    EXPECT_EQ(DefaultSettingsPath(), "C:\\Calvexlib\\CalvexV.ini");
}

TEST_F(Registry, MissingOrOverLongValueFallsBackToTheProgramFolder) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
    const std::string fallback = ProductDir();
    ASSERT_FALSE(fallback.empty());
    EXPECT_EQ(fallback.back(), '\\');
    SetProductDir("C:\\" + std::string(300, 'x') + "\\");
    EXPECT_EQ(ProductDir(), fallback);
    SetProductDir("C:\\" + std::string(252, 'y'));  // 255 characters: still taken
    EXPECT_EQ(ProductDir().size(), 255u);
}

TEST_F(Registry, SaveMakesLibInAProgramFolderButNoGoneInstallation) {
    RemoveDirectoryA((m_dir + "lib").c_str());
    SetProductDir(m_dir);
    {
        CCommPort program;
        program.SelectPort(6);
        EXPECT_TRUE(program.SaveSettings()) << program.SaveError();
    }
    EXPECT_NE(GetFileAttributesA((m_dir + "lib\\CalvexV.ini").c_str()), INVALID_FILE_ATTRIBUTES);

    const std::string gone = m_dir + "uninstalled\\";
    SetProductDir(gone);
    CCommPort program;
    program.SelectPort(7);
    EXPECT_FALSE(program.SaveSettings());
    EXPECT_TRUE(program.SettingsChanged());
    EXPECT_EQ(GetFileAttributesA(gone.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Registry, BackupsGoToTheUsersLocalAppDataNotTheInstallation) {
    SetProductDir(m_dir);
    char local[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA("LOCALAPPDATA", local, MAX_PATH), 0u);
    const std::string folder = DefaultBackupFolder();
    EXPECT_EQ(folder, std::string(local) + "\\CalvexVHXR\\backups\\");
    EXPECT_EQ(folder.find(m_dir), std::string::npos);

    Image block{};
    block[0] = 0x41;
    PagerBackups backups(folder);
    const auto saved = backups.Save(block);
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(saved.path.rfind(folder, 0), 0u) << saved.path;
    EXPECT_NE(GetFileAttributesA(saved.path.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(saved.path.c_str());
}

}  // namespace
