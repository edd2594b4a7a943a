#include <gtest/gtest.h>

#include <thread>

#include "libkorvant/ShmemTestSupport.h"

namespace korvant::testing {
namespace {

const std::string kFile = "C:\\Vantrel\\var\\cache\\VTshmemV3";

TEST(ShmemNames, GlobalPrivateAndPrefixlessNames) {
    AreaConfig global = MakeAreaConfig("C:\\Vantrel", "", true, 0x180000);
    EXPECT_EQ(global.mappingName, "Global\\VTshmemV3_area");
    EXPECT_EQ(global.mutexName, "Global\\VTshmemV3_mutex");
    EXPECT_EQ(global.fileName, kFile);
    AreaConfig priv = MakeAreaConfig("C:\\Vantrel\\", "S-1-5-21-1-2-3-1000", false, 0x180000);
    EXPECT_EQ(priv.mappingName, "VTshmemV3_area_S-1-5-21-1-2-3-1000");
    EXPECT_EQ(priv.mutexName, "VTshmemV3_mutex_S-1-5-21-1-2-3-1000");
    EXPECT_EQ(priv.fileName, kFile + "_S-1-5-21-1-2-3-1000");
    EXPECT_FALSE(priv.global);
}

TEST(ShmemNames, AreaSizeParameterRange) {
    EXPECT_EQ(AreaSizeFromParam(false, 0x200000), 0x180000u);
    EXPECT_EQ(AreaSizeFromParam(true, 1572864), 0x180000u);
    EXPECT_EQ(AreaSizeFromParam(true, 1572865), 1572865u);
    EXPECT_EQ(AreaSizeFromParam(true, 0x3FFFFFFF), 0x3FFFFFFFu);
    EXPECT_EQ(AreaSizeFromParam(true, 0x40000000), 0x180000u);
}

TEST(ShmemNames, UuidParsingAndSlotForm) {
    Uuid id;
    ASSERT_TRUE(ParseUuid("{C7534560-08F7-11D1-BE5D-00609730D47D}", &id));
    EXPECT_EQ(id.bytes[0], 0x60);
    EXPECT_EQ(id.bytes[3], 0xC7);
    EXPECT_EQ(id.bytes[8], 0xBE);
    EXPECT_EQ(FormatUuidDotted(id), "C7534560.08F711D1.BE5D.00:60:97:30:D4:7D");
    Uuid same;
    ASSERT_TRUE(ParseUuid("c7534560-08f7-11d1-be5d-00609730d47d", &same));
    EXPECT_EQ(id, same);
    EXPECT_FALSE(ParseUuid("{C7534560-08F7-11D1-BE5D-00609730D47}", &id));
    EXPECT_FALSE(ParseUuid("{C7534560-08F7-11D1-BE5D-00609730D47X}", &id));
    EXPECT_FALSE(ParseUuid(nullptr, &id));
}

TEST(ShmemAttach, NewFileGetsAFreshHeader) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    ASSERT_TRUE(p.area->Attach());
    const auto file = machine.FileBytes(kFile);
    ASSERT_EQ(file.size(), kSmallArea + 608u);
    EXPECT_EQ(std::memcmp(file.data(), "VTsh", 4), 0);
    EXPECT_EQ(std::memcmp(file.data() + 604, "mem2", 4), 0);
    EXPECT_EQ(Load32(file.data(), 4), 3u);
    EXPECT_EQ(Load32(file.data(), 8), machine.clock);
    EXPECT_EQ(Load32(file.data(), 12), 24u);
    EXPECT_EQ(Load32(file.data(), 16), 0u);
    EXPECT_EQ(Load32(file.data(), 596), kSmallArea);
    EXPECT_EQ(Load32(file.data(), 600), 608u);
    // The mutex is not left owned after attaching.
    EXPECT_FALSE(machine.MutexOwned("Global\\VTshmemV3_mutex"));
}

TEST(ShmemAttach, TwoProcessesShareSubareas) {
    FakeMachine machine;
    FakeProcess a(machine, 1), b(machine, 2);
    ASSERT_TRUE(a.area->Attach());
    ASSERT_TRUE(b.area->Attach());
    Uuid id;
    ParseUuid(kTableId, &id);
    SubareaInfo ia, ib;
    ASSERT_TRUE(a.area->CreateSubarea(id, 100, &ia));
    EXPECT_EQ(ia.offset, 608u);
    EXPECT_EQ(ia.size, 100u);
    *a.area->Span(ia.offset, 1) = 0x5A;
    ASSERT_TRUE(b.area->CreateSubarea(id, 64, &ib));  // found, keeps its stored size
    EXPECT_EQ(ib.offset, 608u);
    EXPECT_EQ(ib.size, 100u);
    EXPECT_EQ(*b.area->Span(ib.offset, 1), 0x5A);
    // A caller that would write 4000 bytes must not get the 100 there are.
    EXPECT_FALSE(b.area->CreateSubarea(id, 4000, &ib));
    EXPECT_EQ(b.os.Traces(), std::vector<std::string>{"shmem_create_subarea 122"});
    ASSERT_TRUE(b.area->CreateSubarea(id, 4000, &ib, ShmemArea::Existing::kAnySize));
    EXPECT_EQ(ib.size, 100u);
    Uuid other;
    ParseUuid(kOtherId, &other);
    ASSERT_TRUE(b.area->CreateSubarea(other, 10, &ib));
    EXPECT_EQ(ib.offset, 608u + 104u);  // rounded to 8 bytes
}

TEST(ShmemAttach, SlotsAndSpaceRunOut) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    ASSERT_TRUE(p.area->Attach());
    SubareaInfo info;
    Uuid id;
    for (int i = 0; i < 24; ++i) {
        id.bytes[0] = static_cast<std::uint8_t>(i + 1);
        ASSERT_TRUE(p.area->CreateSubarea(id, 16, &info)) << i;
    }
    id.bytes[0] = 99;
    EXPECT_FALSE(p.area->CreateSubarea(id, 16, &info));
    FakeMachine other;
    FakeProcess q(other, 1);
    ASSERT_TRUE(q.area->Attach());
    EXPECT_FALSE(q.area->CreateSubarea(id, kSmallArea + 1, &info));
    EXPECT_TRUE(q.area->CreateSubarea(id, kSmallArea, &info));
}

TEST(ShmemAttach, DamagedHeaderIsRefusedOnEveryPath) {
    FakeMachine machine;
    {
        FakeProcess p(machine, 1);
        ASSERT_TRUE(p.area->Attach());
    }
    machine.Reboot();
    machine.File(kFile)->Write(0, "X", 1);
    const std::vector<std::uint8_t> before = machine.FileBytes(kFile);
    FakeProcess p(machine, 2);
    EXPECT_FALSE(p.area->Attach());
    EXPECT_EQ(p.os.Errors(), "Internal error: Data integrity check failed on \"" + kFile + "\".\n");
    EXPECT_EQ(machine.FileBytes(kFile), before);  // nothing rewritten, nothing shrunk
    EXPECT_FALSE(machine.HasMappings());
    EXPECT_FALSE(machine.MutexExists("Global\\VTshmemV3_mutex"));  // released and closed
}

TEST(ShmemAttach, ChangedAreaSizeIsRefusedAndTheFileKept) {
    FakeMachine machine;
    {
        FakeProcess p(machine, 1, TestConfig(0x20000));
        ASSERT_TRUE(p.area->Attach());
    }
    FakeProcess smaller(machine, 2, TestConfig(0x10000));
    EXPECT_FALSE(smaller.area->Attach());
    EXPECT_EQ(machine.File(kFile)->Size(), 0x20000u + 608u);
}

TEST(ShmemAttach, LargerFileIsNotShrunk) {
    FakeMachine machine;
    {
        FakeProcess p(machine, 1);
        ASSERT_TRUE(p.area->Attach());
    }
    machine.Reboot();
    ASSERT_TRUE(machine.File(kFile)->Resize(kSmallArea + 608 + 4096));
    const std::vector<std::uint8_t> tail(4096, 0xEE);
    machine.File(kFile)->Write(kSmallArea + 608, tail.data(), tail.size());
    FakeProcess p(machine, 2);
    EXPECT_TRUE(p.area->Attach());
    EXPECT_EQ(machine.File(kFile)->Size(), kSmallArea + 608u + 4096u);
}

TEST(ShmemAttach, EmptyExistingFileGetsAHeader) {
    FakeMachine machine;
    machine.PutFile(kFile, {});
    FakeProcess p(machine, 1);
    ASSERT_TRUE(p.area->Attach());
    EXPECT_EQ(Load32(machine.FileBytes(kFile).data(), 596), kSmallArea);
}

TEST(ShmemAttach, DirectoryOrUnmappableFileIsRefused) {
    FakeMachine machine;
    machine.directories.insert(kFile);
    FakeProcess p(machine, 1);
    EXPECT_FALSE(p.area->Attach());
    FakeMachine other;
    FakeProcess q(other, 1);
    q.os.failMapFile = true;
    EXPECT_FALSE(q.area->Attach());
    EXPECT_FALSE(other.MutexExists("Global\\VTshmemV3_mutex"));
}

TEST(ShmemHeader, OffsetsSizesAndCountsAreBoundedIn64Bits) {
    std::vector<std::uint8_t> mem(kSmallArea + 608);
    ShmemArea::WriteFreshHeader(mem.data(), kSmallArea, 1);
    Store32(mem.data(), 600, 608 + 64);
    Store32(mem.data(), 16, 1);
    Store32(mem.data(), 20 + 16, 608);
    Store32(mem.data(), 20 + 20, 64);
    EXPECT_TRUE(ShmemArea::HeaderValid(mem.data(), mem.size(), kSmallArea));
    Store32(mem.data(), 20 + 16, 0xFFFFFFF0u);  // offset + size wraps in 32 bits
    Store32(mem.data(), 20 + 20, 0x20);
    EXPECT_FALSE(ShmemArea::HeaderValid(mem.data(), mem.size(), kSmallArea));
    Store32(mem.data(), 20 + 16, 100);  // inside the header
    EXPECT_FALSE(ShmemArea::HeaderValid(mem.data(), mem.size(), kSmallArea));
    Store32(mem.data(), 20 + 16, 608);
    Store32(mem.data(), 16, 25);
    EXPECT_FALSE(ShmemArea::HeaderValid(mem.data(), mem.size(), kSmallArea));
    Store32(mem.data(), 16, 1);
    Store32(mem.data(), 600, kSmallArea + 609);  // used beyond the area
    EXPECT_FALSE(ShmemArea::HeaderValid(mem.data(), mem.size(), kSmallArea));
    Store32(mem.data(), 600, 608 + 64);
    EXPECT_FALSE(ShmemArea::HeaderValid(mem.data(), mem.size() - 1, kSmallArea));
    EXPECT_FALSE(ShmemArea::HeaderValid(mem.data(), 607, 0));
    Store32(mem.data(), 596, 0xFFFFFFFFu);  // total beyond the view
    EXPECT_FALSE(ShmemArea::HeaderValid(mem.data(), mem.size(), 0));
}

TEST(ShmemLock, TimeOutIsReportedAndAbandonedMutexCountsAsTaken) {
    FakeMachine machine;
    FakeProcess a(machine, 1), b(machine, 2);
    ASSERT_TRUE(a.area->Attach());
    ASSERT_TRUE(b.area->Attach());
    ASSERT_TRUE(a.area->Lock());
    EXPECT_TRUE(a.area->Lock());  // the owner may take it again
    a.area->Unlock();
    EXPECT_FALSE(b.area->Lock());
    EXPECT_EQ(b.os.Errors(),
              "Internal error: shmem_win32_lock_area_mutex(Global\\VTshmemV3_mutex) timed out "
              "waiting for mutex.\nReboot if this problem persists.\n");
    machine.Kill(1);
    EXPECT_TRUE(b.area->Lock());
    b.area->Unlock();
    EXPECT_FALSE(machine.MutexOwned("Global\\VTshmemV3_mutex"));
}

TEST(ShmemLock, HeaderDamagedWhileAttachedFailsTheLock) {
    FakeMachine machine;
    FakeProcess a(machine, 1), b(machine, 2);
    ASSERT_TRUE(a.area->Attach());
    ASSERT_TRUE(b.area->Attach());
    ASSERT_TRUE(a.area->Lock());
    Store32(a.area->Span(0, 608), 16, 1000);  // then the owner dies
    machine.Kill(1);
    EXPECT_FALSE(b.area->Lock());
    EXPECT_NE(b.os.Errors().find("Data integrity check failed"), std::string::npos);
    EXPECT_FALSE(machine.MutexOwned("Global\\VTshmemV3_mutex"));
}

TEST(ShmemLock, AttachWaitsForAnOwnerAndTimesOut) {
    FakeMachine machine;
    FakeProcess a(machine, 1), b(machine, 2);
    ASSERT_TRUE(a.area->Attach());
    ASSERT_TRUE(a.area->Lock());
    EXPECT_FALSE(b.area->Attach());
    EXPECT_NE(b.os.Errors().find("timed out waiting for mutex"), std::string::npos);
    a.area->Unlock();
    EXPECT_TRUE(b.area->Attach());
}

TEST(ShmemStats, SummaryListsEverySlot) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    ASSERT_TRUE(p.area->Attach());
    Uuid id;
    ParseUuid("{C7534560-08F7-11D1-BE5D-00609730D47D}", &id);
    SubareaInfo info;
    ASSERT_TRUE(p.area->CreateSubarea(id, 0x100, &info));
    ASSERT_TRUE(p.area->Lock());
    const std::string text = p.area->SummaryText();
    p.area->Unlock();
    EXPECT_EQ(text.rfind("--------------------- Shared Memory Area Statistics "
                         "---------------------------\n  Section: Global\\VTshmemV3_area\n"
                         "  Mutex: Global\\VTshmemV3_mutex\n  File: " +
                             kFile +
                             "\n"
                             "  Version: 3                Last Update: 0x5F000000 ",
                         0),
              0u);
    EXPECT_NE(text.find("\n  # of Sub-Areas:   1/24           Size: 0x00000360/0x00010000 "
                        "(Used/Total)\n\nSec.       UUID                                   "
                        "Offset       Size\n  0  C7534560.08F711D1.BE5D.00:60:97:30:D4:7D "
                        "0x00000260 0x00000100\n"),
              std::string::npos)
        << text;
}

TEST(ShmemLock, AfterATimeOutLaterCallsDoNotWaitUntilTheMutexIsTakenAgain) {
    FakeMachine machine;
    FakeProcess holder(machine, 1), caller(machine, 2);
    ASSERT_TRUE(holder.area->Attach());
    ASSERT_TRUE(caller.area->Attach());
    ASSERT_TRUE(holder.area->Lock());
    EXPECT_EQ(caller.area->TryLock(), ShmemArea::LockResult::kTimeout);
    EXPECT_EQ(caller.area->TryLock(), ShmemArea::LockResult::kTimeout);
    EXPECT_EQ(caller.area->TryLock(), ShmemArea::LockResult::kTimeout);
    // One full wait and one message; then only a try each.
    std::vector<std::uint32_t> waits = caller.os.WaitTimeouts();
    EXPECT_EQ(std::vector<std::uint32_t>(waits.end() - 3, waits.end()),
              (std::vector<std::uint32_t>{30000, 0, 0}));
    const std::string errors = caller.os.Errors();
    EXPECT_EQ(errors.find("timed out"), errors.rfind("timed out"));
    holder.area->Unlock();
    ASSERT_TRUE(caller.area->Lock());  // free at once: taken, and waits are back
    caller.area->Unlock();
    ASSERT_TRUE(holder.area->Lock());
    EXPECT_FALSE(caller.area->Lock());
    EXPECT_EQ(caller.os.WaitTimeouts().back(), 30000u);
    holder.area->Unlock();
}

TEST(ShmemLock, ThreadsOfOneProcessExcludeEachOther) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    ASSERT_TRUE(p.area->Attach());
    ASSERT_TRUE(p.area->Lock());
    ShmemArea::LockResult other = ShmemArea::LockResult::kLocked;
    std::thread([&] {
        other = p.area->TryLock();
        p.area->Unlock();  // not its lock: releases nothing
    }).join();
    EXPECT_EQ(other, ShmemArea::LockResult::kTimeout);
    EXPECT_TRUE(machine.MutexOwned("Global\\VTshmemV3_mutex"));
    p.area->Unlock();
    std::thread([&] {
        other = p.area->TryLock();
        p.area->Unlock();
    }).join();
    EXPECT_EQ(other, ShmemArea::LockResult::kLocked);
    EXPECT_FALSE(machine.MutexOwned("Global\\VTshmemV3_mutex"));
}

TEST(ShmemHeader, UnderTheLockOnlyTheCheckedCopyCounts) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    ASSERT_TRUE(p.area->Attach());
    Uuid id, other;
    ParseUuid(kTableId, &id);
    ParseUuid(kOtherId, &other);
    SubareaInfo info;
    ASSERT_TRUE(p.area->CreateSubarea(id, 100, &info));
    // Another process maps the area by its name and writes without the mutex.
    FakeSharedObjects outsider(machine, 2);
    MappedView view;
    ASSERT_TRUE(outsider.OpenMapping("Global\\VTshmemV3_area", kSmallArea + 608, &view));
    ASSERT_TRUE(p.area->Lock());
    Store32(view.base, 20 + 16, 0xFFFFFF00u);  // slot 0's offset
    Store32(view.base, 20 + 20, 0x7FFFFFFFu);  // and size
    Store32(view.base, area::kUsed, 0xFFFFFFF0u);
    Store32(view.base, area::kTotalSize, 0xFFFFFFFFu);
    Store32(view.base, area::kInUse, 24);
    SubareaInfo found;
    ASSERT_TRUE(p.area->FindSubarea(id, &found));
    EXPECT_EQ(found.offset, 608u);
    EXPECT_EQ(found.size, 100u);
    EXPECT_EQ(p.area->Slots().size(), 1u);
    // A sub-area made now goes where the checked header says, and the whole
    // checked header is written back over what was scribbled.
    ASSERT_TRUE(p.area->CreateSubarea(other, 40, &found));
    EXPECT_EQ(found.offset, 608u + 104u);
    p.area->Unlock();
    EXPECT_EQ(Load32(view.base, 20 + 16), 608u);
    EXPECT_EQ(Load32(view.base, area::kUsed), 608u + 104u + 40u);
    EXPECT_EQ(Load32(view.base, area::kInUse), 2u);
    EXPECT_TRUE(ShmemArea::HeaderValid(view.base, view.size, kSmallArea));
    // Written before the next lock, the same values are refused.
    Store32(view.base, 20 + 16, 0xFFFFFF00u);
    EXPECT_EQ(p.area->TryLock(), ShmemArea::LockResult::kDamaged);
    EXPECT_FALSE(p.area->CreateSubarea(id, 100, &found));
    outsider.Unmap(&view);
}

TEST(ShmemAttach, GlobalMappingsNeedTheRightToCreateThem) {
    FakeMachine machine;
    AreaConfig priv = MakeAreaConfig("C:\\Vantrel", "S-1-5-21-1-2-3-1000", true, kSmallArea);
    FakeProcess user(machine, 1), own(machine, 2, priv);
    user.os.mayCreateGlobal = false;
    own.os.mayCreateGlobal = false;
    // No privileged process has made the global area: none then.
    EXPECT_FALSE(user.area->Attach());
    EXPECT_FALSE(user.area->Attach());
    EXPECT_EQ(user.os.Traces(), std::vector<std::string>{"CreateFileMapping 5"});  // once
    // The user's own area moves to the session's namespace, its mutex not.
    ASSERT_TRUE(own.area->Attach());
    EXPECT_EQ(own.area->Config().mappingName, "VTshmemV3_area_S-1-5-21-1-2-3-1000");
    EXPECT_EQ(own.area->Config().mutexName, "Global\\VTshmemV3_mutex_S-1-5-21-1-2-3-1000");
    EXPECT_EQ(own.os.Traces().size(), 1u);
    // A second process of the user shares it; so does the file.
    FakeProcess again(machine, 3, priv);
    again.os.mayCreateGlobal = false;
    ASSERT_TRUE(again.area->Attach());
    Uuid id;
    ParseUuid(kTableId, &id);
    SubareaInfo a, b;
    ASSERT_TRUE(own.area->CreateSubarea(id, 64, &a));
    ASSERT_TRUE(again.area->CreateSubarea(id, 64, &b));
    EXPECT_EQ(a.offset, b.offset);
    // Once a privileged process has made the global area, it is opened.
    FakeProcess service(machine, 4);
    ASSERT_TRUE(service.area->Attach());
    EXPECT_TRUE(user.area->Attach());
    EXPECT_EQ(user.area->Config().mappingName, "Global\\VTshmemV3_area");
}

// Another user makes a user's own area first: its file in the folder every
// user may write to, or its mapping while holding it. Neither is used (the
// refusal traced once); what the administrators or the system made is.
TEST(ShmemAttach, AUsersOwnAreaThatAnotherUserMadeIsNotUsed) {
    const AreaConfig priv = MakeAreaConfig("C:\\Vantrel", "S-1-5-21-1-2-3-1000", true, kSmallArea);
    const std::uint64_t size = std::uint64_t{kSmallArea} + area::kHeaderSize;
    {
        FakeMachine machine;
        FakeSharedObjects mallory(machine, 1);
        mallory.user = "mallory";
        MappedView view;
        bool created = false;
        ASSERT_EQ(mallory.MapFile(priv.fileName, "mallory's", size, false, false, &view, &created), 0);
        mallory.Unmap(&view);
        FakeProcess victim(machine, 2, priv);
        EXPECT_FALSE(victim.area->Attach());
        EXPECT_FALSE(victim.area->Attach());
        EXPECT_EQ(victim.os.Traces(), std::vector<std::string>{"GetSecurityInfo 1307"});
        EXPECT_EQ(victim.Table(), nullptr);
        EXPECT_FALSE(machine.HasMappings());
        EXPECT_FALSE(machine.MutexOwned(priv.mutexName));
    }
    {
        FakeMachine machine;
        FakeProcess victim(machine, 2, priv);
        ASSERT_TRUE(victim.area->Attach());  // the file is the user's own
        victim.area->Detach();
        FakeSharedObjects mallory(machine, 1);
        mallory.user = "mallory";
        MappedView view;
        bool created = false;
        ASSERT_EQ(mallory.MapFile("C:\\elsewhere", priv.mappingName, size, false, false, &view,
                                  &created),
                  0);
        EXPECT_FALSE(victim.area->Attach());
        mallory.Unmap(&view);
        EXPECT_TRUE(victim.area->Attach());
    }
    for (const char* maker : {"Administrators", "SYSTEM"}) {
        FakeMachine machine;
        FakeProcess installer(machine, 1, priv);
        installer.os.user = maker;
        ASSERT_TRUE(installer.area->Attach());
        installer.area->Detach();
        FakeProcess victim(machine, 2, priv);
        EXPECT_TRUE(victim.area->Attach()) << maker;
    }
}

// The fake machine fails as Windows does: an access past a view, or to a
// view already unmapped, faults.
TEST(FakeMachineDeathTest, ViewsFaultOutsideAndAfterUnmap) {
    FakeMachine machine;
    FakeProcess p(machine, 1);
    ASSERT_TRUE(p.area->Attach());
    std::uint8_t* base = p.area->Span(0, 1);
    const std::uint64_t size = p.area->ViewSize();
    EXPECT_DEATH({ base[(size + 4095) / 4096 * 4096] = 1; }, "");
    EXPECT_DEATH({ base[0xFFFFFFF0u + std::uint64_t{0x7FFFFFFF}] = 1; }, "");
    p.area->Detach();
    EXPECT_DEATH({ base[0] = 1; }, "");
}

}  // namespace
}  // namespace korvant::testing
