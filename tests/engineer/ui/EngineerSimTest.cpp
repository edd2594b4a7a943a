// An engineer write with the program's own serial link against pagersim:
// no identity check, and the factory fields go out as edited.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QStatusBar>

#include "app/CommandIds.h"
#include "document/CDatFile.h"
#include "engineer/ui/EngineerGui.h"

using namespace cmd;
using namespace engineer;

namespace {

class EngineerSim : public EngineerGui {
protected:
    void SetUp() override {
        EngineerGui::SetUp();
        m_oldProductDir = qgetenv("CALVEX_PRODUCT_DIR");
        qputenv("CALVEX_PRODUCT_DIR", (Path("") + "/").toUtf8());
    }
    void TearDown() override {
        EngineerGui::TearDown();
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            if (!m_sim.waitForFinished(10000)) m_sim.kill();
        }
        qputenv("CALVEX_PRODUCT_DIR", m_oldProductDir);
    }
    void StartSim(const QString& saveTo) {
        const QString link = Path("pager");
        m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_sim.start(PAGERSIM_EXE, {"--link", link, "--quiet", "--save", saveTo});
        ASSERT_TRUE(m_sim.waitForStarted(30000));
        ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(link); }));
        app = std::make_unique<CTarnixHXRApp>(&prompt, nullptr);
        ASSERT_TRUE(app->InitInstance({"CalvexVHXR", "--engineer", "--port", link}));
        app->Link().SetDelayIndex(0);
    }
    // Runs Read or Write Pager and waits for its outcome; the status text.
    QString Transfer(int id) {
        prompt.Answer(ui::PromptAnswer::Yes);
        Frame().OnCommand(id);
        auto* status = View().CommStatusWindow();
        if (!status) return {};
        WaitFor(
            [&] {
                return !View().CommStatus().Running() &&
                       (!status->isVisible() || status->findChild<QPushButton*>("1")->isEnabled());
            },
            60000);
        QString text = status->findChild<QLabel*>(QString::number(IDC_STATUS_TEXT))->text();
        if (status->isVisible()) status->done(QDialog::Accepted);
        return text;
    }

private:
    QProcess m_sim;
    QByteArray m_oldProductDir;
};

TEST_F(EngineerSim, AnEngineerWriteStoresTheEditedFactoryFields) {
    const QString saved = Path("pager-after.dat");
    StartSim(saved);
    // A codeplug of another model than the simulated pager's.
    OpenSample("uhf-one-frequency.dat");
    ASSERT_TRUE(Logon("Quorin"));
    Frame().Action(ID_ENGINEER_DATA)->trigger();
    QDialog* dlg = Tools().DataWindow();
    ASSERT_TRUE(dlg && dlg->isVisible());
    Pick(dlg, IDC_BAND_SPLIT, 4);  // "E: 453 - 461.9875 MHz"
    TypeAndLeave(dlg, IDC_UNIT_NUMBER, "Q321");
    TypeAndLeave(dlg, IDC_PLUG_VERSION, "77");
    Click(dlg, ui::IDOK);
    ASSERT_FALSE(dlg->isVisible());
    const Image sent = Doc().Codeplug().GetImage();

    EXPECT_EQ(Transfer(ID_WRITE_PAGER), "Serial Communication - Pager Write SUCCEEDED!");
    // The pager's serial number is gone and nothing kept it.
    EXPECT_EQ(Frame().statusBar()->currentMessage(),
              "Pager written; engineer write: no backup of the pager was made");
    EXPECT_FALSE(QDir(Path("backups")).exists());
    Image pager{};
    ASSERT_TRUE(WaitFor([&] {
        auto r = CDatFile::Read(saved.toStdString());
        pager = r.parsed.image;
        return r.ok && pager[0x0CF] == 77;
    }));
    CSerialNumber serial;
    serial.SetBytes({pager[0x0F8], pager[0x0F9], pager[0x0FA], pager[0x0FB]});
    EXPECT_EQ(serial.UnitText(), "Q321");
    for (std::size_t i = 0; i < 0x1ED; ++i) ASSERT_EQ(pager[i], sent[i]) << i;

    // Read back: the document holds what the pager now has. (The User Data
    // sheet that a read opens is not the subject here.)
    int userData = 0;
    View().SetCommandHandler(ID_USER_DATA, [&] { ++userData; });
    Transfer(ID_READ_PAGER);
    EXPECT_EQ(userData, 1);
    EXPECT_TRUE(Doc().DataValid());
    CModelNumber model;
    model.Load(Doc().Codeplug());
    EXPECT_EQ(model.SubBandText(), "E: 453 - 461.9875 MHz");
    EXPECT_EQ(Doc().Codeplug().GetImage()[0x0CF], 77);
}

}  // namespace
