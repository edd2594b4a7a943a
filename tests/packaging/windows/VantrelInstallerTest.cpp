// Vantrel Support's setup program as an administrator uses it, silently,
// on a machine whose router already knows another network provider
// ("otherprov", a real provider DLL built for these tests).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "packaging/windows/Machine.h"
#include "vtrelnp/wine/VtrelnpDll.h"

namespace {

using machine::Narrow;
using machine::Widen;

const std::wstring kServices = L"SYSTEM\\CurrentControlSet\\Services";
const std::wstring kOrderKey = L"SYSTEM\\CurrentControlSet\\Control\\NetworkProvider\\Order";
const std::wstring kHwOrderKey = L"SYSTEM\\CurrentControlSet\\Control\\NetworkProvider\\HwOrder";
const std::wstring kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VantrelSupport";
const std::wstring kSessionManager = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const std::wstring kProductKey = L"Software\\Korva\\Vantrel\\CurrentVersion";

class VantrelSetup : public ::testing::Test {
protected:
    void SetUp() override {
        StandIns::Use("vantrel_installer_tests");
        StandIns::Scenario("view t1 BUILDHOST\n");
        ResetMachine();
        // Another provider, registered as its own installer would.
        const std::wstring other = kServices + L"\\otherprov\\NetworkProvider";
        machine::SetText(HKEY_LOCAL_MACHINE, other, L"ProviderPath",
                         machine::ExeFolder() + L"\\otherprov.dll");
        machine::SetText(HKEY_LOCAL_MACHINE, other, L"Name", L"Other Test Network");
        SetOrder(L"otherprov");
        log_ = machine::Expand(L"%TEMP%\\vantrel-setup-test.log");
        DeleteFileW(log_.c_str());
    }

    // Whatever an earlier run left: files, keys, order, pending renames.
    static void ResetMachine() {
        for (const std::wstring& folder : {InstallDir(), std::wstring(L"C:\\VT one"),
                                           std::wstring(L"C:\\VT two")}) {
            machine::RemoveFolder(folder);
        }
        machine::DeleteTree(HKEY_LOCAL_MACHINE, kServices + L"\\vtrelnp");
        machine::DeleteTree(HKEY_LOCAL_MACHINE, kServices + L"\\otherprov");
        machine::DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey);
        machine::DeleteValue(HKEY_LOCAL_MACHINE, kOrderKey, L"ProviderOrder");
        machine::DeleteValue(HKEY_LOCAL_MACHINE, kHwOrderKey, L"ProviderOrder");
        machine::DeleteValue(HKEY_LOCAL_MACHINE, kSessionManager, L"PendingFileRenameOperations");
        ProductKeysCleanup::Remove();
        ForgetDevice(L"Q:");
        ForgetDevice(L"M:");
    }

    static std::wstring InstallDir() { return machine::Expand(L"%ProgramFiles%\\Vantrel Support"); }
    static std::wstring SetupExe() {
        return machine::ExeFolder() + L"\\..\\packages\\" + Widen(VANTREL_SETUP);
    }

    DWORD Setup(const std::wstring& arguments) {
        const machine::Run run =
            machine::Start(L"\"" + SetupExe() + L"\" /LOG=\"" + log_ + L"\" " + arguments);
        return run.exitCode;
    }
    DWORD Install(const std::wstring& folder = L"") {
        return Setup(folder.empty() ? L"/S" : L"/S /D=" + folder);
    }
    DWORD Uninstall() { return Setup(L"/S /UNINSTALL"); }

    static void SetOrder(const std::wstring& order) {
        machine::SetText(HKEY_LOCAL_MACHINE, kOrderKey, L"ProviderOrder", order);
    }
    static std::string Order(const std::wstring& key = kOrderKey) {
        const machine::Value v = machine::Read(HKEY_LOCAL_MACHINE, key, L"ProviderOrder");
        return v.exists ? Narrow(v.text) : "<missing>";
    }
    std::string Log() const { return machine::Bytes(log_); }

    // Everything of the installation a second run must leave as it is.
    static std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> s;
        s["order"] = Order();
        s["hworder"] = Order(kHwOrderKey);
        s["service"] = Narrow(machine::Dump(HKEY_LOCAL_MACHINE, kServices + L"\\vtrelnp"));
        s["uninstall"] = Narrow(machine::Dump(HKEY_LOCAL_MACHINE, kUninstallKey));
        for (const std::wstring& name : machine::List(InstallDir())) {
            const std::wstring path = InstallDir() + L"\\" + name;
            s[Narrow(name)] = machine::Bytes(path);
            if (name != L"Uninstall.exe") {  // written again, to the same bytes
                const FILETIME t = machine::WriteTime(path);
                s[Narrow(name) + " time"] =
                    std::to_string(t.dwHighDateTime) + ":" + std::to_string(t.dwLowDateTime);
            }
        }
        return s;
    }

    static std::string PendingOperations() {
        const machine::Value v = machine::Read(HKEY_LOCAL_MACHINE, kSessionManager,
                                               L"PendingFileRenameOperations");
        std::string text = Narrow(v.text);
        std::replace(text.begin(), text.end(), '\0', '|');
        return text;
    }

    std::wstring log_;
};

std::vector<std::string> Names(const std::wstring& folder) {
    std::vector<std::string> names;
    for (const std::wstring& n : machine::List(folder)) {
        names.push_back(Narrow(n));
    }
    return names;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(VantrelSetup, InstallsBesideAnotherProviderMapsADriveAndUninstallsCleanly) {
    // A cache folder of this prefix's own: the cache tests' folder beside it
    // belongs to another wineserver, whose mutex this one's processes cannot
    // see, so sharing its file would let both change the tables at once.
    SetProductValue("HostData", (Narrow(machine::ExeFolder()) + "\\shmemhost-setup").c_str());
    ASSERT_EQ(Install(), 0u) << Log();

    EXPECT_EQ(Order(), "otherprov,vtrelnp");
    EXPECT_EQ(Order(kHwOrderKey), "<missing>") << "HwOrder is changed only where it exists";
    const std::wstring provider = kServices + L"\\vtrelnp\\NetworkProvider";
    const machine::Value path = machine::Read(HKEY_LOCAL_MACHINE, provider, L"ProviderPath");
    EXPECT_EQ(path.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(Narrow(path.text), Narrow(InstallDir()) + "\\VTRELNP.dll");
    EXPECT_EQ(Narrow(machine::Read(HKEY_LOCAL_MACHINE, provider, L"Name").text),
              "Vantrel Dynamic Views");
    EXPECT_EQ(machine::Read(HKEY_LOCAL_MACHINE, provider, L"Class").number, 1u);
    // The two DLLs as built, and none of the stand-ins.
    EXPECT_EQ(Names(InstallDir()),
              (std::vector<std::string>{"LIBKORVANT.dll", "Uninstall.exe", "VTRELNP.dll"}));
    for (const wchar_t* dll : {L"\\VTRELNP.dll", L"\\LIBKORVANT.dll"}) {
        EXPECT_TRUE(machine::Bytes(InstallDir() + dll) == machine::Bytes(machine::ExeFolder() + dll))
            << Narrow(dll);
    }
    EXPECT_EQ(Narrow(machine::Read(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion").text),
              VANTREL_VERSION);
    EXPECT_EQ(Narrow(machine::Read(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation").text),
              Narrow(InstallDir()));
    const std::string log = Log();
    EXPECT_TRUE(Has(log, "\"otherprov\" -> \"otherprov,vtrelnp\"")) << log;
    EXPECT_TRUE(Has(log, "from the next logon")) << log;
    EXPECT_TRUE(Has(log, "Exit code 0")) << log;

    // A program started now goes through the installed provider, which
    // finds LIBKORVANT beside itself and the stand-ins beside the program.
    const machine::Run probe =
        machine::Start(L"\"" + machine::ExeFolder() + L"\\router_probe.exe\" Q: \\\\view\\t1");
    const std::string dir = Narrow(InstallDir());
    EXPECT_TRUE(Has(probe.output, "provider 0x00160000 Vantrel Dynamic Views\r\n")) << probe.output;
    EXPECT_TRUE(Has(probe.output, "provider 0x00fe0000 Other Test Network\r\n")) << probe.output;
    EXPECT_TRUE(Has(probe.output, "module VTRELNP.dll " + dir + "\\VTRELNP.dll\r\n")) << probe.output;
    EXPECT_TRUE(Has(probe.output, "module LIBKORVANT.dll " + dir + "\\LIBKORVANT.dll\r\n"))
        << probe.output;
    EXPECT_TRUE(Has(probe.output, "use 0\r\ndevice \\??\\M:\\t1\r\ncancel 0\r\n")) << probe.output;
    EXPECT_TRUE(StandIns::Logged("cmd_startview(t1) = 0")) << StandIns::Log();

    // The same version again changes nothing.
    const auto before = Snapshot();
    ASSERT_EQ(Install(), 0u) << Log();
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(Has(Log(), "Unchanged: " + dir + "\\VTRELNP.dll")) << Log();

    ASSERT_EQ(Uninstall(), 0u) << Log();
    EXPECT_EQ(Order(), "otherprov");
    EXPECT_FALSE(machine::KeyExists(HKEY_LOCAL_MACHINE, kServices + L"\\vtrelnp"));
    EXPECT_FALSE(machine::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(machine::FileExists(InstallDir())) << Names(InstallDir()).size();
    // The other provider and the product's own parameters stay.
    EXPECT_TRUE(machine::KeyExists(HKEY_LOCAL_MACHINE, kServices + L"\\otherprov\\NetworkProvider"));
    EXPECT_TRUE(machine::Read(HKEY_LOCAL_MACHINE, kProductKey, L"HostData").exists);
    EXPECT_EQ(PendingOperations(), "");
}

// Whole entries only: names that contain ours, or that ours contains, are
// other providers.
TEST_F(VantrelSetup, OrderEntriesAreMatchedWhole) {
    SetOrder(L"vtrelnpx,vtrelnp,xvtrelnp");
    machine::SetText(HKEY_LOCAL_MACHINE, kHwOrderKey, L"ProviderOrder", L"vtrelnpx,xvtrelnp,vtrel");
    ASSERT_EQ(Install(), 0u) << Log();
    EXPECT_EQ(Order(), "vtrelnpx,vtrelnp,xvtrelnp");
    EXPECT_EQ(Order(kHwOrderKey), "vtrelnpx,xvtrelnp,vtrel,vtrelnp");
    ASSERT_EQ(Uninstall(), 0u) << Log();
    EXPECT_EQ(Order(), "vtrelnpx,xvtrelnp");
    EXPECT_EQ(Order(kHwOrderKey), "vtrelnpx,xvtrelnp,vtrel");
}

// A machine without any provider (a fresh Wine prefix has no order).
TEST_F(VantrelSetup, CreatesTheOrderWhereThereIsNone) {
    machine::DeleteValue(HKEY_LOCAL_MACHINE, kOrderKey, L"ProviderOrder");
    ASSERT_EQ(Install(), 0u) << Log();
    EXPECT_EQ(Order(), "vtrelnp");
    ASSERT_EQ(Uninstall(), 0u) << Log();
    EXPECT_EQ(Order(), "");
}

// An order longer than the setup program's strings is refused, not cut
// short: cutting it would drop other providers.
TEST_F(VantrelSetup, RefusesAnOrderItCannotHoldWhole) {
    const std::wstring longOrder = L"otherprov," + std::wstring(1490, L'p');
    SetOrder(longOrder);
    EXPECT_EQ(Install(), 2u);
    EXPECT_EQ(Widen(Order()), longOrder);
    EXPECT_FALSE(machine::FileExists(InstallDir()));
    EXPECT_FALSE(machine::KeyExists(HKEY_LOCAL_MACHINE, kServices + L"\\vtrelnp"));
    EXPECT_TRUE(Has(Log(), "FAILED: The network provider order")) << Log();
    EXPECT_TRUE(Has(Log(), "Exit code 2")) << Log();

    // Readable, but no room left for ",vtrelnp".
    const std::wstring full = L"otherprov," + std::wstring(1010, L'p');
    SetOrder(full);
    EXPECT_EQ(Install(), 2u);
    EXPECT_EQ(Widen(Order()), full);
    EXPECT_FALSE(machine::FileExists(InstallDir()));

    // The uninstaller leaves everything in place rather than half of it.
    SetOrder(L"otherprov");
    ASSERT_EQ(Install(), 0u) << Log();
    const std::wstring grown = L"vtrelnp," + std::wstring(1500, L'p');
    SetOrder(grown);
    EXPECT_EQ(Uninstall(), 2u);
    EXPECT_EQ(Widen(Order()), grown);
    EXPECT_TRUE(machine::KeyExists(HKEY_LOCAL_MACHINE, kServices + L"\\vtrelnp"));
    EXPECT_TRUE(machine::FileExists(InstallDir() + L"\\VTRELNP.dll"));
}

// The router keeps its provider loaded in every program that uses the
// network: such a file is replaced or removed when Windows restarts.
TEST_F(VantrelSetup, FilesInUseWaitForTheRestart) {
    ASSERT_EQ(Install(), 0u) << Log();
    const std::wstring dll = InstallDir() + L"\\VTRELNP.dll";
    FILETIME older = machine::WriteTime(dll);
    older.dwHighDateTime -= 1;
    machine::SetWriteTime(dll, older);  // so that it counts as another build
    HMODULE loaded = LoadLibraryW(dll.c_str());
    ASSERT_NE(loaded, nullptr);

    EXPECT_EQ(Install(), 3010u) << Log();
    EXPECT_TRUE(Has(Log(), "In use: " + Narrow(dll) + " is replaced at the next restart")) << Log();
    EXPECT_TRUE(Has(PendingOperations(), Narrow(dll) + ".new|!\\??\\" + Narrow(dll)))
        << PendingOperations();

    EXPECT_EQ(Uninstall(), 3010u) << Log();
    EXPECT_TRUE(Has(Log(), "In use: " + Narrow(dll) + " is removed at the next restart")) << Log();
    EXPECT_EQ(Order(), "otherprov");
    EXPECT_FALSE(machine::KeyExists(HKEY_LOCAL_MACHINE, kServices + L"\\vtrelnp"));
    EXPECT_EQ(Names(InstallDir()), (std::vector<std::string>{"VTRELNP.dll", "VTRELNP.dll.new"}));

    // The restart: the program that held it has ended, Windows starts.
    FreeLibrary(loaded);
    ASSERT_EQ(machine::Start(L"wineboot.exe -r").exitCode, 0u);
    EXPECT_FALSE(machine::FileExists(InstallDir())) << Names(InstallDir()).size();
}

// The entry under installed programs runs Uninstall.exe, which hands over
// to a copy of itself; asked to, it also removes the product's settings.
TEST_F(VantrelSetup, UninstallerOfTheProgramsListRemovesEverythingAndPurgesOnRequest) {
    ASSERT_EQ(Install(), 0u) << Log();
    SetProductValue("HostData", "C:\\somewhere");
    SetUserValue("RecentlyUsedViews", "t1");
    const std::wstring quiet =
        Widen(Narrow(machine::Read(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString").text));
    EXPECT_EQ(quiet, L"\"" + InstallDir() + L"\\Uninstall.exe\" /S");
    machine::Start(quiet + L" /PURGE /LOG=\"" + log_ + L"\"", true);
    EXPECT_EQ(Order(), "otherprov");
    EXPECT_FALSE(machine::FileExists(InstallDir())) << Names(InstallDir()).size();
    EXPECT_FALSE(machine::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(machine::KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Korva"));
    EXPECT_FALSE(machine::KeyExists(HKEY_CURRENT_USER, L"Software\\Korva"));
    EXPECT_TRUE(Has(Log(), "Removed the Vantrel settings")) << Log();
    EXPECT_TRUE(Has(Log(), "Exit code 0")) << Log();
}

// Installing again into another folder moves the provider there.
TEST_F(VantrelSetup, ASecondInstallElsewhereMovesTheProvider) {
    ASSERT_EQ(Install(L"C:\\VT one"), 0u) << Log();
    ASSERT_EQ(Install(L"C:\\VT two"), 0u) << Log();
    EXPECT_EQ(Narrow(machine::Read(HKEY_LOCAL_MACHINE, kServices + L"\\vtrelnp\\NetworkProvider",
                                   L"ProviderPath")
                         .text),
              "C:\\VT two\\VTRELNP.dll");
    EXPECT_FALSE(machine::FileExists(L"C:\\VT one"));
    EXPECT_EQ(Order(), "otherprov,vtrelnp");
    ASSERT_EQ(Uninstall(), 0u) << Log();
    EXPECT_FALSE(machine::FileExists(L"C:\\VT two"));
}

TEST_F(VantrelSetup, UninstallingWhatIsNotInstalledIsNoFailure) {
    EXPECT_EQ(Uninstall(), 0u);
    EXPECT_TRUE(Has(Log(), "is not installed: nothing to remove")) << Log();
    EXPECT_EQ(Order(), "otherprov");
}

}  // namespace
