// Transfers that wait out a full time-out, or run at the real line rate.
#include "e2e/TransferFixture.h"

namespace {

TEST_F(PagerE2E, SilentPagerFailsAReadAfterTheReadTimeOut) {
    StartSim({"--fault", "silent"});
    Image doc{};
    doc[5] = 5;
    SetDocument(doc, 0, 4);
    const TransferRun run = Read();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_READ_FAILED});
    EXPECT_EQ(run.outcome.fault, LinkFault::NoAnswer);
    EXPECT_GE(run.ms, 6130);  // 10 x 513 + 1000 ms
    EXPECT_LT(run.ms, kReadBudgetMs + 300);
    ExpectDocument(doc, 0, 4);
}

TEST_F(PagerE2E, NoPagerInTheProgrammerFailsAWriteAfterTheIdentityRead) {
    StartSim({"--fault", "silent"});
    SetDocument(PagerImage(), 1, 0);
    const TransferRun run = Write();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_WRITE_FAILED});
    EXPECT_EQ(run.outcome.fault, LinkFault::NoAnswer);
    EXPECT_GE(run.ms, 6130);
    EXPECT_LT(run.ms, kReadBudgetMs + 300);
    EXPECT_EQ(Exchanges("write"), 0);
    ExpectDocument(PagerImage(), 1, 0);
}

TEST_F(PagerE2E, ShortFrameIsRefusedEvenWhenItsSumHappensToMatch) {
    // The pager leaves out byte 256 and sends the sum of all 512. What
    // arrives is 511 data bytes and that sum; with byte 256 = -2 x (sum of
    // the other 511) the 512 bytes received sum to 0, the value of the
    // 513th byte that never came.
    Image pager = PagerImage();
    unsigned rest = 0;
    for (int i = 0; i < 512; ++i) rest += i == 256 ? 0 : pager[i];
    pager[256] = static_cast<Byte>(-2 * static_cast<int>(rest));
    StartSim({"--fault", "short"}, &pager);
    SetDocument(PagerImage(), 0, 0);
    const TransferRun run = Read();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_READ_FAILED});
    EXPECT_EQ(run.outcome.fault, LinkFault::WrongLength) << DescribeFault(run.outcome);
    EXPECT_EQ(run.outcome.received, 512u);
    EXPECT_LT(run.ms, kReadBudgetMs + 300);
    ExpectDocument(PagerImage(), 0, 0);
}

TEST_F(PagerE2E, PacedReadTakesTheLineTime) {
    StartSim({"--pace"});
    const TransferRun run = Read();
    EXPECT_EQ(run.messages, std::vector<int>{WM_PAGER_READ_OK});
    EXPECT_GE(run.ms, 4270);  // 513 characters of 10 bits at 1200 baud
    EXPECT_LT(run.ms, 5500);
    ExpectDocument(PagerImage(), 1, 0x0C);
}

}  // namespace
