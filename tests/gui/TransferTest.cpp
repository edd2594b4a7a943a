#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/Artwork.h"
#include "gui/AppFixture.h"
#include "ui/qt/CBoundDialog.h"

using namespace cmd;

namespace {

class TransferFixture : public AppFixture {
protected:
    ui::qt::CBoundDialog* Status() { return View().CommStatusWindow(); }
    QString StatusText() {
        return Status()->findChild<QLabel*>(QString::number(IDC_STATUS_TEXT))->text();
    }
    QPushButton* Ok() { return Status()->findChild<QPushButton*>("1"); }
    int Picture() {
        return Status()
            ->findChild<QLabel*>(QString::number(IDC_STATUS_PICTURE))
            ->property("calvexImage")
            .toInt();
    }
    // Waits until the status dialog shows an outcome or has closed.
    bool WaitForOutcome() {
        return WaitFor(
            [this] { return Status() && (!Status()->isVisible() || Ok()->isEnabled()); });
    }
    void OpenValid() { ASSERT_TRUE(app->OpenDocumentFile(WriteDat("doc.dat", SampleImage()))); }
};

TEST_F(TransferFixture, ReadWithoutCodeplugAsksNothingAndStartsAtOnce) {
    ASSERT_TRUE(Start());
    link.message = WM_PAGER_READ_FAILED;
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_F3);
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_EQ(link.transfers, 1);
    ASSERT_NE(Status(), nullptr);
    EXPECT_EQ(Status()->windowTitle(), "Communication Status");
    EXPECT_TRUE(Status()->isModal());
    ASSERT_TRUE(WaitForOutcome());
    EXPECT_TRUE(Status()->isVisible());
    EXPECT_EQ(StatusText(), "Serial Communication - Pager Read FAILED!");
    EXPECT_EQ(Picture(), art::IDB_FAILED);
    QTest::mouseClick(Ok(), Qt::LeftButton);
    EXPECT_FALSE(Status()->isVisible());
}

TEST_F(TransferFixture, ReadAnsweredNoChangesNothing) {
    ASSERT_TRUE(Start());
    OpenValid();
    prompt.Answer(ui::PromptAnswer::No);
    Frame().OnCommand(ID_READ_PAGER);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text, "Do you want to overwrite the current codeplug?");
    EXPECT_EQ(prompt.Records()[0].caption, "Read Pager Warning");
    EXPECT_EQ(prompt.Records()[0].icon, ui::PromptIcon::Question);
    EXPECT_EQ(prompt.Records()[0].buttons, ui::PromptButtons::YesNo);
    EXPECT_EQ(link.transfers, 0);
    EXPECT_TRUE(Doc().DataValid());
    EXPECT_EQ(Frame().windowTitle(), "doc.dat - Calvex V HXR");
}

// Yes agrees to replace the codeplug with the pager's; a read that fails
// (a pulled cable) must not take the loaded one away with its edits.
TEST_F(TransferFixture, ReadAnsweredYesThatFailsKeepsTheCodeplugUntilAReadSucceeds) {
    ASSERT_TRUE(Start());
    OpenValid();
    Image edited = Doc().Codeplug().GetImage();
    edited[0x20] ^= 0x5A;  // an edit not saved yet
    Doc().Codeplug().SetImage(edited);
    prompt.Answer(ui::PromptAnswer::Yes);
    link.message = WM_PAGER_READ_FAILED;
    link.holdWorker = true;
    Frame().OnCommand(ID_READ_PAGER);
    EXPECT_FALSE(Ok()->isEnabled());
    EXPECT_EQ(StatusText(),
              "Serial Communication Started. Please DO NOT remove the pager from the programmer!");
    EXPECT_EQ(Picture(), art::IDB_RUNNING);
    link.Release();
    ASSERT_TRUE(WaitForOutcome());
    EXPECT_EQ(StatusText(), "Serial Communication - Pager Read FAILED!");
    QTest::mouseClick(Ok(), Qt::LeftButton);
    EXPECT_TRUE(Doc().DataValid());
    EXPECT_EQ(Doc().Codeplug().GetImage(), edited);
    EXPECT_EQ(Frame().windowTitle(), "doc.dat - Calvex V HXR");
    for (int id : {ID_WRITE_PAGER, ID_FILE_SAVE, ID_FILE_PRINT, ID_USER_DATA})
        EXPECT_TRUE(Enabled(id)) << id;

    // A read that succeeds replaces it, and the codeplug has no file name.
    int userData = 0;
    View().SetCommandHandler(ID_USER_DATA, [&] { ++userData; });
    link.holdWorker = false;
    link.message = WM_PAGER_READ_OK;
    link.readImage = SampleImage(9);
    prompt.Answer(ui::PromptAnswer::Yes);
    Frame().OnCommand(ID_READ_PAGER);
    ASSERT_TRUE(WaitFor([&] { return userData == 1 && !Status()->isVisible(); }));
    EXPECT_EQ(Doc().Codeplug().GetImage(), SampleImage(9));
    EXPECT_EQ(Frame().windowTitle(), "Untitled - Calvex V HXR");
}

TEST_F(TransferFixture, EscapeAndCloseBoxWaitForTheResult) {
    ASSERT_TRUE(Start());
    link.holdWorker = true;
    Frame().OnCommand(ID_READ_PAGER);
    ASSERT_TRUE(Status()->isVisible());
    QTest::keyClick(Status(), Qt::Key_Escape);
    EXPECT_TRUE(Status()->isVisible());
    EXPECT_FALSE(Status()->close());
    EXPECT_TRUE(Status()->isVisible());
    // No second transfer and no exit while the worker runs.
    EXPECT_FALSE(Enabled(ID_READ_PAGER));
    EXPECT_FALSE(Enabled(ID_FILE_OPEN));
    EXPECT_FALSE(Frame().close());
    EXPECT_EQ(link.transfers, 1);
    link.Release();
    ASSERT_TRUE(WaitForOutcome());
    QTest::keyClick(Status(), Qt::Key_Escape);
    EXPECT_FALSE(Status()->isVisible());
    EXPECT_TRUE(Enabled(ID_READ_PAGER));
}

TEST_F(TransferFixture, SuccessfulReadClosesTheDialogAndOpensUserData) {
    ASSERT_TRUE(Start());
    int userData = 0;
    View().SetCommandHandler(ID_USER_DATA, [&] { ++userData; });
    link.message = WM_PAGER_READ_OK;
    link.readImage = SampleImage(9);
    link.pagerVersion = 0x17;
    Frame().OnCommand(ID_READ_PAGER);
    ASSERT_TRUE(WaitFor([&] { return userData == 1; }));
    // The status dialog closes on its next tick, without an outcome text.
    ASSERT_TRUE(WaitFor([&] { return !Status()->isVisible(); }));
    EXPECT_NE(StatusText(), "READ");
    EXPECT_EQ(Picture(), art::IDB_RUNNING);
    EXPECT_TRUE(Doc().DataValid());
    EXPECT_EQ(Doc().Codeplug().GetImage(), SampleImage(9));
    EXPECT_EQ(CodeplugContext::Get().pagerVersion, 0x17);
    EXPECT_EQ(View().PagerData().version.GetPagerVersion(), 0x17);
    EXPECT_TRUE(Enabled(ID_WRITE_PAGER));
    EXPECT_EQ(Frame().windowTitle(), "Untitled - Calvex V HXR");
}

TEST_F(TransferFixture, ReadAfterACorruptedFileLeavesTheDocumentUntitled) {
    ASSERT_TRUE(Start());
    Image bad = SampleImage();
    bad[0x10] ^= 0x01;
    const QString corrupted = WriteDat("edited.dat", bad);
    QFile file(corrupted);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    EXPECT_FALSE(app->OpenDocumentFile(corrupted));
    ASSERT_EQ(Frame().windowTitle(), "edited.dat - Calvex V HXR");
    prompt.Clear();

    link.message = WM_PAGER_READ_OK;
    link.readImage = SampleImage(9);
    int userData = 0;
    View().SetCommandHandler(ID_USER_DATA, [&] { ++userData; });
    Frame().OnCommand(ID_READ_PAGER);
    // No valid codeplug, so no question.
    EXPECT_TRUE(prompt.Records().empty());
    ASSERT_TRUE(WaitFor([&] { return !link.Busy() && !Status()->isVisible(); }));
    EXPECT_EQ(userData, 1);
    EXPECT_TRUE(Doc().DataValid());
    EXPECT_EQ(Frame().windowTitle(), "Untitled - Calvex V HXR");
    EXPECT_TRUE(Doc().GetPathName().isEmpty());

    // Ctrl+S asks for a name instead of overwriting the corrupted file.
    int asked = 0;
    app->SetFileChooser([&](bool save) {
        ++asked;
        EXPECT_TRUE(save);
        return Path("from-pager.dat");
    });
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    CDatFile::ReadResult saved = CDatFile::Read(Path("from-pager.dat").toStdString());
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.parsed.image, SampleImage(9));
    EXPECT_EQ(Frame().windowTitle(), "from-pager.dat - Calvex V HXR");
}

TEST_F(TransferFixture, WriteAsksFirstAndShowsEachOutcome) {
    ASSERT_TRUE(Start());
    OpenValid();
    prompt.Answer(ui::PromptAnswer::No);
    Frame().OnCommand(ID_WRITE_PAGER);
    EXPECT_EQ(prompt.Records().back().text,
              "Do you want to program the pager with current codeplug?");
    EXPECT_EQ(prompt.Records().back().caption, "Write Pager Warning");
    EXPECT_EQ(link.transfers, 0);

    struct Case {
        int message;
        const char* text;
        int picture;
    } cases[] = {
        {WM_PAGER_WRITE_OK, "Serial Communication - Pager Write SUCCEEDED!", art::IDB_SUCCESS},
        {WM_PAGER_WRITE_FAILED, "Serial Communication - Pager Write FAILED!", art::IDB_FAILED}};
    for (const Case& c : cases) {
        prompt.Answer(ui::PromptAnswer::Yes);
        link.message = c.message;
        Frame().OnCommand(ID_WRITE_PAGER);
        EXPECT_EQ(View().CommStatus().tickInterval, 100);
        ASSERT_TRUE(WaitForOutcome());
        EXPECT_EQ(StatusText(), c.text);
        EXPECT_EQ(Picture(), c.picture);
        EXPECT_EQ(Status()->findChild<QProgressBar*>(QString::number(IDC_PROGRESS))->value(), 100);
        QTest::mouseClick(Ok(), Qt::LeftButton);
        EXPECT_FALSE(Status()->isVisible());
    }
    EXPECT_TRUE(Doc().DataValid());
}

}  // namespace
