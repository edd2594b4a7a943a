// Operation > Program Fleet... with the program's real serial link against
// pagersim playing three pagers, driven through the window's own widgets.
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/FleetCommand.h"
#include "app/FleetWindow.h"
#include "document/CDatFile.h"
#include "gui/AppFixture.h"

using namespace cmd;

namespace {

const QString kSamples = QString(CALVEX_SOURCE_DIR) + "/samples/";

class FleetWindowTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        m_oldProductDir = qgetenv("CALVEX_PRODUCT_DIR");
        qputenv("CALVEX_PRODUCT_DIR", (Path("product") + "/").toUtf8());
        QDir().mkpath(Path("held"));
        // A short USB delay: the simulator answers at once.
        QDir().mkpath(Path("product/lib"));
        QFile ini(Path("product/lib/CalvexV.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("CommPort = COM1\nUSBDelay = 50");
        roster = Path("crew.csv");
        QFile::copy(kSamples + "fleet/roster.csv", roster);
    }
    void TearDown() override {
        AppFixture::TearDown();
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            if (!m_sim.waitForFinished(10000)) m_sim.kill();
        }
        qputenv("CALVEX_PRODUCT_DIR", m_oldProductDir);
    }

    // The three sample pagers, the second one first; the program on the
    // simulator's port with the sample template open.
    void Start() {
        m_sim.setProcessChannelMode(QProcess::SeparateChannels);
        m_sim.setStandardErrorFile(Path("sim.log"));
        m_sim.start(PAGERSIM_EXE,
                    {"--link", Path("pager"), "--read-back", "--save", Path("held"), "--dat",
                     kSamples + "fleet/pager-2.dat", "--dat", kSamples + "fleet/pager-1.dat",
                     "--dat", kSamples + "fleet/pager-3.dat"});
        ASSERT_TRUE(m_sim.waitForStarted(30000));
        ASSERT_TRUE(WaitFor([this] { return QFileInfo::exists(Path("pager")); }));
        app = std::make_unique<CTarnixHXRApp>(&prompt, nullptr);
        app->SetFileChooser([this](bool) { return chosenFile; });
        ASSERT_TRUE(app->InitInstance(
            {"CalvexVHXR", "--port", Path("pager"), kSamples + "vhf-two-frequency.dat"}));
    }
    // Operation > Program Fleet..., as the menu item is clicked.
    FleetWindow* OpenWindow() {
        QMenu* operation = Frame().menuBar()->actions()[1]->menu();
        for (QAction* a : operation->actions()) {
            if (a->text() != "Program Fleet...") continue;
            Frame().UpdateCommandUI();
            if (!a->isEnabled()) return nullptr;
            a->trigger();
        }
        FleetWindow* w = FindFleetWindow(*app);
        if (w) {
            // Its key reaches it as the active window.
            QApplication::setActiveWindow(w);
            WaitFor([w] { return w->isActiveWindow(); }, 5000);
        }
        return w;
    }
    template <typename W>
    W* Child(const char* name) {
        return window->findChild<W*>(name);
    }
    QString State(int row) { return Child<QTableWidget>("fleetRows")->item(row, 4)->text(); }
    QString SimLog() {
        QFile f(Path("sim.log"));
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }
    // The serial and F1 call 1 tone 1 a simulated pager holds now.
    static QString Held(const QString& file) {
        const auto r = CDatFile::Read(file.toStdString());
        if (!r.ok) return "unreadable";
        CCodeplug plug;
        plug.SetImage(r.parsed.image);
        CPagerData d;
        d.Decode(plug);
        return QString::fromStdString(d.serial.SerialText() + " " + d.channel[0].ToneText(0));
    }

    QString roster;
    FleetWindow* window = nullptr;

private:
    QProcess m_sim;
    QByteArray m_oldProductDir;
};

TEST_F(FleetWindowTest, WriteNextPagerProgramsEachPagerWithItsRowAndLogsIt) {
    Start();
    // An engineer's logon does not reach the fleet: each pager keeps its serial.
    CodeplugContext::Get().engineer = true;
    const Image templ = Doc().Codeplug().GetImage();
    window = OpenWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isModal());
    EXPECT_EQ(Child<QLabel>("fleetTemplate")->text(),
              "vhf-two-frequency.dat  (A03XLT9239AC, codeplug version 1.005)");
    EXPECT_TRUE(Child<QLabel>("fleetPort")->text().startsWith(Path("pager")));
    QPushButton* next = Child<QPushButton>("writeNextPager");
    EXPECT_FALSE(next->isEnabled());

    chosenFile = roster;
    QTest::mouseClick(Child<QPushButton>("chooseRoster"), Qt::LeftButton);
    ASSERT_EQ(Child<QTableWidget>("fleetRows")->rowCount(), 3);
    EXPECT_EQ(Child<QTableWidget>("fleetRows")->item(1, 2)->text(), "Engine 2");
    EXPECT_EQ(State(0), "waiting");
    EXPECT_EQ(Child<QLabel>("fleetLog")->text(), QDir::toNativeSeparators(Path("crew-log.csv")));
    EXPECT_FALSE(Child<QPlainTextEdit>("rosterProblems")->isVisible());
    ASSERT_TRUE(next->isEnabled());
    EXPECT_TRUE(Child<QCheckBox>("verify")->isChecked());

    QTest::mouseClick(next, Qt::LeftButton);
    // While the pager is programmed the window answers but does not go away.
    EXPECT_TRUE(window->Busy());
    EXPECT_FALSE(next->isEnabled());
    EXPECT_FALSE(Child<QPushButton>("closeFleet")->isEnabled());
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(WaitFor([this] { return !window->Busy(); }));
    // Pager 2 came first: it got its own row.
    EXPECT_EQ(State(1), "verified");
    EXPECT_EQ(State(0), "waiting");
    EXPECT_TRUE(Child<QLabel>("fleetStatus")
                    ->text()
                    .startsWith("Pager 136WJA0102 written as row 3 (Engine 2) and verified."));
    EXPECT_TRUE(Child<QLabel>("fleetStatus")->toolTip().contains(Path("product/backups/136WJA0102-")));

    // The key does what the button does (the button shows its click first).
    QTest::keyClick(window, Qt::Key_F7);
    ASSERT_TRUE(WaitFor([this] { return State(0) == "verified"; })) << State(0).toStdString();
    QTest::mouseClick(next, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([this] { return !window->Busy(); }));
    for (int r = 0; r < 3; ++r) EXPECT_EQ(State(r), "verified") << r;
    EXPECT_FALSE(next->isEnabled());
    EXPECT_TRUE(Child<QLabel>("fleetStatus")->text().endsWith("Every row of the roster is done."));

    EXPECT_TRUE(CodeplugContext::Get().engineer);
    EXPECT_EQ(Doc().Codeplug().GetImage(), templ);
    QFile log(Path("crew-log.csv"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll().count("\n"), 4);
    EXPECT_EQ(SimLog().count("stored 511 bytes"), 3);
    QTest::mouseClick(Child<QPushButton>("closeFleet"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    app.reset();
    EXPECT_EQ(Held(Path("held/pager-1.dat")), "136WJA0101 330.5");
    EXPECT_EQ(Held(Path("held/pager-2.dat")), "136WJA0102 368.5");
    EXPECT_EQ(Held(Path("held/pager-3.dat")), "136WJA0103 410.8");
}

TEST_F(FleetWindowTest, ARefusedRosterListsItsProblemsAndNothingIsWritten) {
    Start();
    QFile f(Path("bad.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("serial;label;channels.F1.calls.1.tone1;channels.F1.calls.1.tone2\n"
            "136WJA0101;Engine 1;330.5;569.1\n"
            "136WJA0102;Engine 2;330.5;569.1\n");
    f.close();
    window = OpenWindow();
    ASSERT_NE(window, nullptr);
    chosenFile = Path("bad.csv");
    QTest::mouseClick(Child<QPushButton>("chooseRoster"), Qt::LeftButton);
    auto* problems = Child<QPlainTextEdit>("rosterProblems");
    EXPECT_TRUE(problems->isVisible());
    EXPECT_TRUE(problems->toPlainText().contains(
        "row 2 (Engine 1) shares its individual call 330.5 - 569.1 Hz"))
        << problems->toPlainText().toStdString();
    EXPECT_EQ(State(0), "-");  // never to be written
    EXPECT_FALSE(Child<QPushButton>("writeNextPager")->isEnabled());
    QTest::keyClick(window, Qt::Key_F7);
    QTest::qWait(200);
    EXPECT_FALSE(window->Busy());
    EXPECT_FALSE(QFileInfo::exists(Path("bad-log.csv")));

    // Choosing a good roster then puts it to work.
    chosenFile = roster;
    QTest::mouseClick(Child<QPushButton>("chooseRoster"), Qt::LeftButton);
    EXPECT_FALSE(problems->isVisible());
    EXPECT_EQ(State(0), "waiting");
    EXPECT_TRUE(Child<QPushButton>("writeNextPager")->isEnabled());
    EXPECT_FALSE(SimLog().contains("#1"));
}

TEST_F(FleetWindowTest, NeedsACodeplugAsTheTemplate) {
    ASSERT_TRUE(AppFixture::Start());
    EXPECT_FALSE(Enabled(ID_PROGRAM_FLEET));
    EXPECT_EQ(OpenWindow(), nullptr);
}

}  // namespace
