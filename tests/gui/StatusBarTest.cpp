// The program's own status bar messages: one line that fits the message pane
// at the window's default size, the whole text in the pane's tooltip.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QStatusTipEvent>
#include <QPushButton>
#include <QStatusBar>

#include "gui/AppFixture.h"
#include "link/TransferOutcome.h"
#include "ui/qt/CBoundDialog.h"

using namespace cmd;

namespace {

class StatusBarFixture : public AppFixture {
protected:
    bool StartLaidOut() {
        if (!Start()) return false;
        // The panes have their places once the frame has been laid out.
        return WaitFor([this] { return Frame().Indicator("CAP")->x() > 0; }, 10000);
    }
    QStatusBar* Bar() { return Frame().statusBar(); }
    int Advance(const QString& text) { return Bar()->fontMetrics().horizontalAdvance(text); }
    bool Fits(const QString& text) { return Advance(text) <= Frame().MessagePaneWidth(); }

    ui::qt::CBoundDialog* Status() { return View().CommStatusWindow(); }
    bool RunRead() {
        Frame().OnCommand(ID_READ_PAGER);
        return WaitFor([this] {
            return Status() && !link.Busy() &&
                   (!Status()->isVisible() || Status()->findChild<QPushButton*>("1")->isEnabled());
        });
    }
    void CloseStatus() {
        if (Status()->isVisible()) Status()->findChild<QPushButton*>("1")->click();
    }
};

TEST_F(StatusBarFixture, EveryTransferFailureFitsThePaneAtTheDefaultSize) {
    ASSERT_TRUE(StartLaidOut());
    EXPECT_EQ(Frame().size(), QSize(720, 480));
    // The pane ends before the lock indicators.
    EXPECT_LT(Frame().MessagePaneWidth(), Frame().Indicator("CAP")->x());
    EXPECT_GT(Frame().MessagePaneWidth(), 300);
    TransferOutcome o;
    o.system = "No such file or directory";
    o.received = 512;
    o.answer = 0x15;
    // The port as chosen, with the device behind it where that differs.
    const std::pair<const char*, const char*> ports[] = {
        {"", "/dev/ttyS2"}, {"/dev/ttyUSB0", "/dev/ttyUSB0"}, {"COM37", "/dev/ttyS36"},
        {"COM12", "\\\\.\\COM12"}};
    for (auto [port, device] : ports) {
        o.port = port;
        o.device = device;
        for (int f = static_cast<int>(LinkFault::PortMissing);
             f <= static_cast<int>(LinkFault::BackupFailed); ++f) {
            o.fault = static_cast<LinkFault>(f);
            for (const char* what : {"Read Pager failed: ", "Write Pager failed: "}) {
                QString line = what + QString::fromStdString(SummarizeFault(o));
                EXPECT_TRUE(Fits(line)) << line.toStdString() << " is " << Advance(line)
                                        << " px wide, the pane " << Frame().MessagePaneWidth();
            }
        }
    }
    // The whole reason would not have fitted.
    o.port.clear();
    o.device = "/dev/ttyS2";
    o.fault = LinkFault::PortMissing;
    EXPECT_FALSE(Fits(QString::fromStdString("Read Pager failed: " + DescribeFault(o))));
}

TEST_F(StatusBarFixture, LongReasonIsCutToThePaneAndWholeInTheTooltip) {
    ASSERT_TRUE(StartLaidOut());
    const QString reason =
        "Read Pager failed: /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 "
        "does not exist; check the port name and the cable (No such file or directory)";
    link.failureDetail = reason.toStdString();
    ASSERT_TRUE(RunRead());
    QString shown = Bar()->currentMessage();
    EXPECT_NE(shown, reason);
    EXPECT_TRUE(shown.startsWith("Read Pager failed: /dev/serial")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(Fits(shown));
    EXPECT_EQ(Bar()->toolTip(), reason);

    // A narrower window cuts it again; a wider one shows more of it.
    Frame().resize(480, 480);
    ASSERT_TRUE(WaitFor([&] { return Bar()->currentMessage() != shown; }, 5000));
    EXPECT_TRUE(Fits(Bar()->currentMessage()));
    Frame().resize(1400, 480);
    ASSERT_TRUE(WaitFor([&] { return Bar()->currentMessage() == reason; }, 5000));

    // A command prompt takes its place and the tooltip goes with it.
    Frame().Action(ID_WRITE_PAGER)->showStatusText(&Frame());
    EXPECT_EQ(Bar()->currentMessage(), "Write the codeplug to pager");
    EXPECT_TRUE(Bar()->toolTip().isEmpty());
    CloseStatus();
}

TEST_F(StatusBarFixture, TheOutcomeComesBackAfterEveryPromptUntilTheNextTransfer) {
    ASSERT_TRUE(StartLaidOut());
    link.failureDetail = "Read Pager failed: no answer from the pager";
    ASSERT_TRUE(RunRead());
    CloseStatus();
    const QString outcome = Bar()->currentMessage();
    ASSERT_EQ(outcome, "Read Pager failed: no answer from the pager");
    // The mouse crosses toolbar buttons and menu items: each shows its
    // prompt, and the outcome returns, tooltip and all, when it leaves.
    for (int id : {ID_READ_PAGER, ID_FILE_OPEN, ID_SYSTEM_SETUP}) {
        Frame().Action(id)->showStatusText(&Frame());
        EXPECT_NE(Bar()->currentMessage(), outcome);
        EXPECT_TRUE(Bar()->toolTip().isEmpty());
        QStatusTipEvent left{QString()};
        QApplication::sendEvent(&Frame(), &left);
        EXPECT_EQ(Bar()->currentMessage(), outcome) << id;
        EXPECT_EQ(Bar()->toolTip(), outcome) << id;
    }
    // A resize while a prompt shows leaves the prompt alone.
    Frame().Action(ID_WRITE_PAGER)->showStatusText(&Frame());
    Frame().resize(Frame().width() - 40, Frame().height());
    QApplication::processEvents();
    EXPECT_EQ(Bar()->currentMessage(), "Write the codeplug to pager");
    QStatusTipEvent left{QString()};
    QApplication::sendEvent(&Frame(), &left);
    EXPECT_EQ(Bar()->currentMessage(), outcome);
}

TEST_F(StatusBarFixture, AnEngineerWriteSaysItMadeNoBackup) {
    ASSERT_TRUE(StartLaidOut());
    ASSERT_TRUE(app->OpenDocumentFile(WriteDat("doc.dat", SampleImage())));
    CodeplugContext::Get().engineer = true;
    link.message = WM_PAGER_WRITE_OK;
    prompt.Answer(ui::PromptAnswer::Yes);
    Frame().OnCommand(ID_WRITE_PAGER);
    ASSERT_TRUE(WaitFor([this] {
        return Status() && !link.Busy() && Status()->findChild<QPushButton*>("1")->isEnabled();
    }));
    const QString shown = Bar()->currentMessage();
    EXPECT_EQ(shown, "Pager written; engineer write: no backup of the pager was made");
    EXPECT_TRUE(Fits(shown)) << Advance(shown) << " px, the pane " << Frame().MessagePaneWidth();
    EXPECT_TRUE(Bar()->toolTip().contains("serial")) << Bar()->toolTip().toStdString();
    CloseStatus();
    // A failed engineer write made nothing: it says why it failed instead.
    link.message = WM_PAGER_WRITE_FAILED;
    link.failureDetail = "Write Pager failed: no answer from the pager";
    prompt.Answer(ui::PromptAnswer::Yes);
    Frame().OnCommand(ID_WRITE_PAGER);
    ASSERT_TRUE(WaitFor([this] {
        return !link.Busy() && Status()->findChild<QPushButton*>("1")->isEnabled();
    }));
    EXPECT_EQ(Bar()->currentMessage(), "Write Pager failed: no answer from the pager");
    CloseStatus();
}

TEST_F(StatusBarFixture, NextTransferClearsTheLastOutcome) {
    ASSERT_TRUE(StartLaidOut());
    link.failureDetail = "Read Pager failed: no answer from the pager";
    ASSERT_TRUE(RunRead());
    EXPECT_EQ(Bar()->currentMessage(), "Read Pager failed: no answer from the pager");
    CloseStatus();

    link.holdWorker = true;
    link.message = WM_PAGER_READ_OK;
    link.readImage = SampleImage();
    int userData = 0;
    View().SetCommandHandler(ID_USER_DATA, [&] { ++userData; });
    Frame().OnCommand(ID_READ_PAGER);
    ASSERT_TRUE(link.Busy());
    // While the new read runs nothing speaks of the old one.
    EXPECT_EQ(Bar()->currentMessage(), "For Help, press F1");
    EXPECT_TRUE(Bar()->toolTip().isEmpty());
    link.Release();
    ASSERT_TRUE(WaitFor([this] { return !link.Busy() && !Status()->isVisible(); }));
    // The read brought the User Data sheet; the failure is gone from the bar.
    EXPECT_EQ(userData, 1);
    EXPECT_FALSE(Bar()->currentMessage().startsWith("Read Pager failed"));
}

TEST_F(StatusBarFixture, AWriteSaysWhereThePagersOldContentsWent) {
    ASSERT_TRUE(StartLaidOut());
    ASSERT_TRUE(app->OpenDocumentFile(WriteDat("doc.dat", SampleImage())));
    const std::string backup = Path("backups/136WJA0001-20261207-143000.dat").toStdString();
    link.backup = backup;
    link.message = WM_PAGER_WRITE_OK;
    prompt.Answer(ui::PromptAnswer::Yes);
    Frame().OnCommand(ID_WRITE_PAGER);
    ASSERT_TRUE(WaitFor([this] {
        return Status() && !link.Busy() && Status()->findChild<QPushButton*>("1")->isEnabled();
    }));
    const QString shown = Bar()->currentMessage();
    EXPECT_EQ(shown, "Pager written; its old contents: 136WJA0001-20261207-143000.dat");
    EXPECT_TRUE(Fits(shown)) << Advance(shown) << " px, the pane " << Frame().MessagePaneWidth();
    EXPECT_TRUE(Bar()->toolTip().contains(QDir::toNativeSeparators(QString::fromStdString(backup))))
        << Bar()->toolTip().toStdString();
    CloseStatus();

    // A write that made no backup (or failed) names none.
    link.backup.clear();
    prompt.Answer(ui::PromptAnswer::Yes);
    Frame().OnCommand(ID_WRITE_PAGER);
    ASSERT_TRUE(WaitFor(
        [this] { return !link.Busy() && Status()->findChild<QPushButton*>("1")->isEnabled(); }));
    EXPECT_FALSE(Bar()->currentMessage().startsWith("Pager written"));
    CloseStatus();
}

}  // namespace
