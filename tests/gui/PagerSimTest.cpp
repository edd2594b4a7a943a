// The program with its real serial link against pagersim on a pseudo-terminal.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "app/Artwork.h"
#include "app/PagerLink.h"
#include "document/CDatFile.h"
#include "gui/AppFixture.h"
#include "gui/PickEntry.h"
#include "ui/qt/CBoundDialog.h"

using namespace cmd;

namespace {

class SimFixture : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        m_oldProductDir = qgetenv("CALVEX_PRODUCT_DIR");
        qputenv("CALVEX_PRODUCT_DIR", (Path("") + "/").toUtf8());
        linkPath = Path("pager");
    }
    void TearDown() override {
        AppFixture::TearDown();
        StopSim();
        qputenv("CALVEX_PRODUCT_DIR", m_oldProductDir);
    }

    // Starts pagersim with extra arguments and waits for its link.
    void StartSim(const QStringList& extra = {}) {
        StopSim();
        QFile::remove(linkPath);
        m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_sim.start(PAGERSIM_EXE, QStringList{"--link", linkPath, "--quiet"} + extra);
        ASSERT_TRUE(m_sim.waitForStarted(30000));
        ASSERT_TRUE(WaitFor([this] { return QFileInfo::exists(linkPath); }));
    }
    void StopSim() {
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            if (!m_sim.waitForFinished(10000)) m_sim.kill();
            m_sim.waitForFinished(10000);
        }
    }
    // The program with its own serial link, on `port`.
    bool StartReal(const QString& port) {
        app = std::make_unique<CTarnixHXRApp>(&prompt, nullptr);
        return app->InitInstance({"CalvexVHXR", "--port", port});
    }

    ui::qt::CBoundDialog* Status() { return View().CommStatusWindow(); }
    QString StatusText() {
        return Status()->findChild<QLabel*>(QString::number(IDC_STATUS_TEXT))->text();
    }
    int Picture() {
        return Status()
            ->findChild<QLabel*>(QString::number(IDC_STATUS_PICTURE))
            ->property("calvexImage")
            .toInt();
    }
    // Runs a pager command and waits for its outcome (or the dialog closing).
    bool Run(int id) {
        Frame().OnCommand(id);
        if (!Status()) return false;
        return WaitFor(
            [this] {
                return !View().CommStatus().Running() &&
                       (!Status()->isVisible() ||
                        Status()->findChild<QPushButton*>("1")->isEnabled());
            },
            60000);
    }
    void CloseStatus() {
        if (Status()->isVisible())
            QTest::mouseClick(Status()->findChild<QPushButton*>("1"), Qt::LeftButton);
    }
    bool ReadPager() {
        int before = userData;
        View().SetCommandHandler(ID_USER_DATA, [this] { ++userData; });
        if (Doc().DataValid()) prompt.Answer(ui::PromptAnswer::Yes);
        return Run(ID_READ_PAGER) && userData == before + 1;
    }

    QString linkPath;
    int userData = 0;

private:
    QProcess m_sim;
    QByteArray m_oldProductDir;
};

TEST_F(SimFixture, ReadFromThePagerOpensUserDataAndEnablesWrite) {
    StartSim();
    ASSERT_TRUE(StartReal(linkPath));
    ASSERT_TRUE(ReadPager());
    EXPECT_TRUE(WaitFor([this] { return !Status()->isVisible(); }));
    EXPECT_TRUE(Doc().DataValid());
    EXPECT_TRUE(CDatFile::IsValid(Doc().Codeplug().GetImage()));
    EXPECT_EQ(Frame().windowTitle(), "Untitled - Calvex V HXR");
    EXPECT_TRUE(Enabled(ID_WRITE_PAGER));
    EXPECT_TRUE(Enabled(ID_FILE_PRINT));
}

TEST_F(SimFixture, ReadOpensTheUserDataSheetOnThePagersCodeplug) {
    StartSim();
    ASSERT_TRUE(StartReal(linkPath));
    QString firmware;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        ui::qt::CBoundSheet* sheet = View().UserDataWindow();
        if (!sheet || !sheet->isVisible()) return;
        poll.stop();
        firmware =
            QString::fromStdString(View().UserData().general.Text(CGeneral::IDC_PAGER_VERSION));
        QTest::mouseClick(sheet->findChild<QPushButton*>("2"), Qt::LeftButton);
    });
    poll.start();
    ASSERT_TRUE(Run(ID_READ_PAGER));
    EXPECT_TRUE(WaitFor([&] { return !firmware.isEmpty(); }));
    EXPECT_EQ(firmware, "1.20");
    EXPECT_TRUE(Doc().DataValid());
}

TEST_F(SimFixture, ReadFromAMissingPortFailsWithTheReasonInTheStatusBar) {
    ASSERT_TRUE(StartReal(Path("no-such-port")));
    ASSERT_TRUE(Run(ID_READ_PAGER));
    EXPECT_TRUE(Status()->isVisible());
    EXPECT_EQ(StatusText(), "Serial Communication - Pager Read FAILED!");
    EXPECT_EQ(Picture(), art::IDB_FAILED);
    // A few words on the pane, the advice and the system's text in its tooltip.
    EXPECT_EQ(Frame().statusBar()->currentMessage(),
              "Read Pager failed: " + Path("no-such-port") + " does not exist");
    EXPECT_TRUE(Frame().statusBar()->toolTip().startsWith(
        "Read Pager failed: " + Path("no-such-port") +
        " does not exist; check the port name and the cable"))
        << Frame().statusBar()->toolTip().toStdString();
    CloseStatus();
    EXPECT_FALSE(Status()->isVisible());
    EXPECT_FALSE(Enabled(ID_WRITE_PAGER));
}

TEST_F(SimFixture, AFailureNamesThePortTheUserChoseBeforeItsDevice) {
    qputenv("CALVEX_COM37", Path("ttyS36").toUtf8());
    ASSERT_TRUE(StartReal("COM37"));
    const bool ran = Run(ID_READ_PAGER);
    qunsetenv("CALVEX_COM37");
    ASSERT_TRUE(ran);
    EXPECT_EQ(Frame().statusBar()->currentMessage(),
              "Read Pager failed: COM37 (" + Path("ttyS36") + ") does not exist");
    CloseStatus();
}

TEST_F(SimFixture, PortsThatAreNoSerialLineFailCleanly) {
    QString fifo = Path("fifo");
    ASSERT_EQ(QProcess::execute("mkfifo", {fifo}), 0);
    for (QString port : {Path(""), QString("/dev/null"), fifo, QString("COM0"), QString("")}) {
        ASSERT_TRUE(StartReal(port));
        app->Link().SetPortName(port.toStdString());
        ASSERT_TRUE(Run(ID_READ_PAGER)) << port.toStdString();
        EXPECT_EQ(StatusText(), "Serial Communication - Pager Read FAILED!") << port.toStdString();
        CloseStatus();
        app.reset();
    }
}

TEST_F(SimFixture, GarbledBlocksAreRefused) {
    for (const char* fault : {"bad-sum", "zeros", "short"}) {
        StartSim({"--fault", fault});
        ASSERT_TRUE(StartReal(linkPath));
        ASSERT_TRUE(Run(ID_READ_PAGER)) << fault;
        EXPECT_EQ(StatusText(), "Serial Communication - Pager Read FAILED!") << fault;
        EXPECT_EQ(Picture(), art::IDB_FAILED);
        EXPECT_FALSE(Doc().DataValid());
        EXPECT_EQ(userData, 0);
        CloseStatus();
        app.reset();
    }
}

TEST_F(SimFixture, WriteBackSucceedsAndAnotherModelIsRefused) {
    StartSim();
    ASSERT_TRUE(StartReal(linkPath));
    app->Link().SetDelayIndex(0);  // 2 s is plenty for the simulator
    ASSERT_TRUE(ReadPager());
    ASSERT_TRUE(WaitFor([this] { return !Status()->isVisible(); }));

    prompt.Answer(ui::PromptAnswer::Yes);
    ASSERT_TRUE(Run(ID_WRITE_PAGER));
    EXPECT_EQ(StatusText(), "Serial Communication - Pager Write SUCCEEDED!");
    EXPECT_EQ(Picture(), art::IDB_SUCCESS);
    EXPECT_TRUE(Status()->isVisible());
    CloseStatus();

    // A codeplug of another model number: nothing is written.
    Image other = Doc().Codeplug().GetImage();
    other[252] ^= 0x01;
    Doc().Codeplug().SetImage(other);
    prompt.Answer(ui::PromptAnswer::Yes);
    ASSERT_TRUE(Run(ID_WRITE_PAGER));
    EXPECT_EQ(StatusText(), "Serial Communication - Pager Write FAILED!");
    EXPECT_EQ(Picture(), art::IDB_FAILED);
    EXPECT_TRUE(Frame().statusBar()->currentMessage().startsWith("Write Pager failed:"));
    CloseStatus();
}

TEST_F(SimFixture, WriteKeepsWhatThePagerHeldAndFailsWithoutABackup) {
    StartSim({"--save", Path("held.dat")});
    ASSERT_TRUE(StartReal(linkPath));
    app->Link().SetDelayIndex(0);
    ASSERT_TRUE(ReadPager());
    ASSERT_TRUE(WaitFor([this] { return !Status()->isVisible(); }));
    const Image held = Doc().Codeplug().GetImage();

    // Where backups go cannot be a folder: the write fails before the frame.
    QFile blocker(Path("backups"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Image edited = held;
    edited[layout::CALL_ALERT1] ^= 0x01;
    Doc().Codeplug().SetImage(edited);
    prompt.Answer(ui::PromptAnswer::Yes);
    ASSERT_TRUE(Run(ID_WRITE_PAGER));
    EXPECT_EQ(StatusText(), "Serial Communication - Pager Write FAILED!");
    const std::string why = Frame().statusBar()->currentMessage().toStdString();
    EXPECT_NE(why.find("could not be backed up"), std::string::npos) << why;
    EXPECT_NE(why.find("nothing was written"), std::string::npos) << why;
    CloseStatus();

    // With the folder free the write goes out, and the backup holds the
    // pager's contents from before it.
    ASSERT_TRUE(QFile::remove(Path("backups")));
    prompt.Answer(ui::PromptAnswer::Yes);
    ASSERT_TRUE(Run(ID_WRITE_PAGER));
    EXPECT_EQ(StatusText(), "Serial Communication - Pager Write SUCCEEDED!");
    CloseStatus();
    const QStringList backups = QDir(Path("backups")).entryList({"*.dat"}, QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    EXPECT_TRUE(backups[0].startsWith("136SGE_280-")) << backups[0].toStdString();
    const auto saved = CDatFile::Read((Path("backups/") + backups[0]).toStdString());
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.parsed.image, held);
}

TEST_F(SimFixture, RefusedWriteFails) {
    StartSim({"--fault", "refuse", "--fault-on", "w"});
    ASSERT_TRUE(StartReal(linkPath));
    app->Link().SetDelayIndex(0);
    ASSERT_TRUE(ReadPager());
    ASSERT_TRUE(WaitFor([this] { return !Status()->isVisible(); }));
    prompt.Answer(ui::PromptAnswer::Yes);
    ASSERT_TRUE(Run(ID_WRITE_PAGER));
    EXPECT_EQ(StatusText(), "Serial Communication - Pager Write FAILED!");
    EXPECT_EQ(Picture(), art::IDB_FAILED);
}

TEST_F(SimFixture, PortPickedInSystemSetupIsSavedAtExit) {
    ASSERT_TRUE(StartReal("COM1"));
    Frame().OnCommand(ID_SYSTEM_SETUP);
    auto* dlg = View().SystemConfigWindow();
    PickEntry(dlg->findChild<QComboBox*>("1129"), 9);
    QTest::mouseClick(dlg->findChild<QPushButton*>("1"), Qt::LeftButton);
    EXPECT_EQ(app->Link().PortName(), "COM10");
    app.reset();
    QFile ini(Path("lib/CalvexV.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().startsWith("CommPort = COM10"));
}

}  // namespace
