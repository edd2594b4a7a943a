// Read Pager and Write Pager against the real simulator: every fault ends
// in the one failure message within its time-out, the document changes only
// as a successful transfer (or the merge before a write) allows, and the
// port is free afterwards.
#include "e2e/TransferFixture.h"

namespace {

Image OtherImage() {
    Image image{};
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<Byte>(i ^ 0x5A);
    return image;
}

TEST_F(PagerE2E, ReadLoadsTheBlockAndTheFirmwareVersion) {
    const Image pager = PagerImage(0x2A);
    StartSim({}, &pager);
    SetDocument(OtherImage(), 0, 7);
    const TransferRun run = Read();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_READ_OK});
    EXPECT_EQ(run.outcome.message, WM_PAGER_READ_OK);
    ExpectDocument(pager, 1, 0x2A);
    EXPECT_LT(run.ms, 2000);
}

struct FaultCase {
    const char* fault;
    LinkFault expected;
};
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.fault;
}
std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) {
    std::string n = info.param.fault;
    n.erase(std::remove(n.begin(), n.end(), '-'), n.end());
    return n;
}

class ReadFaults : public PagerE2E, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ReadFaults, FailAndLeaveTheDocumentAlone) {
    StartSim({"--fault", GetParam().fault});
    SetDocument(OtherImage(), 1, 7);
    const TransferRun run = Read();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_READ_FAILED});
    EXPECT_EQ(run.outcome.fault, GetParam().expected) << DescribeFault(run.outcome);
    ExpectDocument(OtherImage(), 1, 7);
    EXPECT_LT(run.ms, 3000);
}

INSTANTIATE_TEST_SUITE_P(E2E, ReadFaults,
                         ::testing::Values(FaultCase{"long", LinkFault::BadSum},
                                           FaultCase{"bad-sum", LinkFault::BadSum},
                                           FaultCase{"zeros", LinkFault::ZeroBlock},
                                           FaultCase{"garbage", LinkFault::BadSum},
                                           FaultCase{"hangup", LinkFault::HangUp}),
                         CaseName);

TEST_F(PagerE2E, LongFrameWithAMatchingSumIsStillRefused) {
    // The pager repeats byte 256; bytes 0-511 as received then sum to the
    // 513th byte only if the repeated value equals byte 511's. Make it so.
    Image pager = PagerImage(0x0C);
    pager[255] = 0x0C;
    pager[256] = 0x0C;
    unsigned sum = 0;
    for (int i = 0; i < 512; ++i) sum += pager[i];
    // Received: bytes 0..256, 256 again, 257..510 -> sum is S - b511 + b256,
    // and the 513th byte is b511. Adjust byte 100 so they agree.
    const Byte b511 = pager[511];
    const int need = (b511 - ((sum - b511 + pager[256]) & 0xFF)) & 0xFF;
    pager[100] = static_cast<Byte>(pager[100] + need);
    StartSim({"--fault", "long"}, &pager);
    SetDocument(OtherImage(), 0, 0);
    const TransferRun run = Read();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_READ_FAILED});
    EXPECT_EQ(run.outcome.fault, LinkFault::WrongLength) << DescribeFault(run.outcome);
    ExpectDocument(OtherImage(), 0, 0);
}

TEST_F(PagerE2E, WriteKeepsThePagersIdentityBytes) {
    const Image pager = PagerImage(0x31);
    StartSim({"--save", sim.File("held.dat")}, &pager);
    // Same model and codeplug major version, another serial number, other
    // thousandths of the version and other user data.
    Image doc = pager;
    doc[layout::SERIAL_NO] = 0x99;
    doc[layout::PLUG_VER + 1] = 77;
    doc[0x20] ^= 0xFF;
    doc[layout::PAGER_FIRMWARE] = 0x01;
    SetDocument(doc, 1, 0x05);

    const TransferRun run = Write();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_WRITE_OK}) << DescribeFault(run.outcome);
    EXPECT_EQ(Exchanges("read"), 1);
    EXPECT_EQ(Exchanges("write"), 1);

    // The pager took the document's data with its own serial and version,
    // kept its firmware byte, and the block's checks hold.
    const auto held = CDatFile::Read(sim.File("held.dat"));
    ASSERT_TRUE(held.ok);
    const Image& stored = held.parsed.image;
    EXPECT_EQ(stored[0x20], doc[0x20]);
    EXPECT_EQ(stored[layout::SERIAL_NO], pager[layout::SERIAL_NO]);
    EXPECT_EQ(stored[layout::PLUG_VER + 1], pager[layout::PLUG_VER + 1]);
    EXPECT_EQ(stored[layout::PAGER_FIRMWARE], 0x31);
    EXPECT_TRUE(CDatFile::IsValid(stored));
    EXPECT_EQ(stored[layout::CHECK_CODE] * 256 + stored[layout::CHECK_CODE + 1],
              CCodeplug::ComputeCheckCode(stored));

    // The document took the pager's values over; flags unchanged.
    EXPECT_EQ(plug.GetSerialNumber(), CCodeplug::Quad({0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(plug.GetImage()[layout::PLUG_VER + 1], pager[layout::PLUG_VER + 1]);
    EXPECT_EQ(plug.GetImage()[0x20], doc[0x20]);
    EXPECT_EQ(plug.GetDataValid(), 1);
    EXPECT_EQ(plug.GetPagerVersion(), 0x05);
}

class IdentityMismatch : public PagerE2E, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(IdentityMismatch, WriteIntoAnotherModelOrVersionSendsNothing) {
    StartSim({});
    Image doc = PagerImage();
    doc[GetParam()] ^= 0x01;
    SetDocument(doc, 1, 0);
    const TransferRun run = Write();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_WRITE_FAILED});
    EXPECT_EQ(run.outcome.fault, LinkFault::IdentityMismatch);
    EXPECT_EQ(Exchanges("read"), 1);
    EXPECT_EQ(Exchanges("write"), 0);
    ExpectDocument(doc, 1, 0);
}

// MODEL_NO's first and last byte, and the codeplug major version.
INSTANTIATE_TEST_SUITE_P(E2E, IdentityMismatch,
                         ::testing::Values(layout::MODEL_NO, layout::MODEL_NO + 3,
                                           layout::PLUG_VER));

TEST_F(PagerE2E, EngineerWriteSendsTheDocumentAsItIs) {
    StartSim({"--save", sim.File("held.dat")});
    Image doc = PagerImage();
    doc[layout::MODEL_NO] ^= 0x10;
    doc[layout::SERIAL_NO] = 0x42;
    SetDocument(doc, 1, 0);
    CodeplugContext::Get().engineer = true;
    const TransferRun run = Write();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_WRITE_OK}) << DescribeFault(run.outcome);
    EXPECT_EQ(Exchanges("read"), 0);
    const auto held = CDatFile::Read(sim.File("held.dat"));
    ASSERT_TRUE(held.ok);
    EXPECT_EQ(held.parsed.image[layout::MODEL_NO], doc[layout::MODEL_NO]);
    EXPECT_EQ(held.parsed.image[layout::SERIAL_NO], 0x42);
    ExpectDocument(doc, 1, 0);
}

class WriteFaults : public PagerE2E, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(WriteFaults, FailWithinTheBudget) {
    StartSim({"--fault", GetParam().fault, "--fault-on", "w", "--late-ms", "1500"});
    const Image doc = PagerImage();
    SetDocument(doc, 1, 3);
    const TransferRun run = Write();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_WRITE_FAILED});
    EXPECT_EQ(run.outcome.fault, GetParam().expected) << DescribeFault(run.outcome);
    EXPECT_LT(run.ms, kReadBudgetMs + WriteBudgetMs(100));
    EXPECT_LT(run.ms, 3500);
    if (GetParam().expected == LinkFault::Refused) {
        EXPECT_GE(run.outcome.answer, 0);
        EXPECT_NE(run.outcome.answer, 0x06);
    }
    // The identity read passed, so the merge stands (here: the same bytes).
    ExpectDocument(doc, 1, 3);
}

INSTANTIATE_TEST_SUITE_P(E2E, WriteFaults,
                         ::testing::Values(FaultCase{"refuse", LinkFault::Refused},
                                           FaultCase{"no-ack", LinkFault::NoAck},
                                           FaultCase{"late-ack", LinkFault::NoAck},
                                           FaultCase{"garbage", LinkFault::Refused},
                                           FaultCase{"silent", LinkFault::NoAck},
                                           FaultCase{"hangup", LinkFault::HangUp}),
                         CaseName);

TEST_F(PagerE2E, ALateAckIsNotTakenByTheNextExchange) {
    StartSim({"--fault", "late-ack", "--late-ms", "1300"});
    SetDocument(PagerImage(), 1, 0);
    EXPECT_EQ(Write().outcome.fault, LinkFault::NoAck);
    // The ACK arrives after the port was closed; the next exchange must not
    // take it for its own answer.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    CodeplugContext::Get().engineer = true;
    const TransferRun second = Write();
    EXPECT_EQ(second.outcome.fault, LinkFault::NoAck);
    EXPECT_EQ(second.outcome.answer, -1);
}

TEST_F(PagerE2E, IdentityReadFailureWritesNothing) {
    StartSim({"--fault", "bad-sum"});
    SetDocument(PagerImage(), 1, 0);
    const TransferRun run = Write();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_WRITE_FAILED});
    EXPECT_EQ(run.outcome.fault, LinkFault::BadSum);
    EXPECT_EQ(Exchanges("write"), 0);
    ExpectDocument(PagerImage(), 1, 0);
}

TEST_F(PagerE2E, MissingAndBusyPortsFailAtOnce) {
    StartSim({});
    SetDocument(OtherImage(), 1, 9);

    port.SetPortName("/nonexistent/ttyS9");
    TransferRun run = Read();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_READ_FAILED});
    EXPECT_EQ(run.outcome.fault, LinkFault::PortMissing);
    EXPECT_LT(run.ms, 500);

    port.SetPortName(sim.Port());
    PosixSerialPort holder;
    ASSERT_TRUE(holder.Open(sim.Port()));
    RecordingSink sink;
    TransferOutcome outcome;
    const auto start = std::chrono::steady_clock::now();
    WritePagerThread(port, plug, sink, &outcome);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(sink.messages, std::vector<int>{WM_PAGER_WRITE_FAILED});
    EXPECT_EQ(outcome.fault, LinkFault::PortBusy);
    holder.Close();
    // Nothing reached the pager.
    EXPECT_EQ(Exchanges("read") + Exchanges("write"), 0);
    ExpectDocument(OtherImage(), 1, 9);
}

TEST_F(PagerE2E, WorkerPostsOnceAndRefusesASecondTransferMeanwhile) {
    StartSim({"--ack-delay", "300"});
    SetDocument(PagerImage(), 1, 0);
    PagerTransfer transfer(port);
    RecordingSink sink;
    ASSERT_TRUE(transfer.StartWrite(plug, sink));
    EXPECT_TRUE(transfer.Busy());
    EXPECT_FALSE(transfer.StartRead(plug, sink));
    transfer.Join();
    EXPECT_FALSE(transfer.Busy());
    EXPECT_EQ(sink.messages, std::vector<int>{WM_PAGER_WRITE_OK});
    EXPECT_EQ(transfer.LastOutcome().message, WM_PAGER_WRITE_OK);
    EXPECT_EQ(transfer.LastOutcome().answer, 0x06);
    // And the next one runs.
    int posted = 0;
    ASSERT_TRUE(transfer.StartRead(plug, [&](int m) { posted = m; }));
    transfer.Join();
    EXPECT_EQ(posted, WM_PAGER_READ_OK);
}

}  // namespace
