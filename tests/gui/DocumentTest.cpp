#include <QDir>
#include <QFileInfo>

#include "gui/AppFixture.h"

using namespace cmd;

namespace {

TEST_F(AppFixture, OpenValidFileEnablesTheCodeplugCommands) {
    ASSERT_TRUE(Start());
    chosenFile = WriteDat("pager one.dat", SampleImage());
    Frame().OnCommand(ID_FILE_OPEN);
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_EQ(Frame().windowTitle(), "pager one.dat - Calvex V HXR");
    // As the system spells paths (backslashes on Windows).
    EXPECT_EQ(Doc().GetPathName(),
              QDir::toNativeSeparators(QFileInfo(chosenFile).absoluteFilePath()));
    for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
                   ID_WRITE_PAGER, ID_USER_DATA, ID_FALSING_ALERT})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(Doc().Codeplug().GetPagerVersion(), 0);
}

TEST_F(AppFixture, CorruptedFileIsReportedAndKeepsCommandsDisabled) {
    ASSERT_TRUE(Start());
    Image bad = SampleImage();
    bad[0x10] ^= 0x01;  // one value edited by hand, checksum left alone
    chosenFile = WriteDat("edited.dat", bad);
    Frame().OnCommand(ID_FILE_OPEN);
    ASSERT_EQ(prompt.Records().size(), 1u);
    const auto& box = prompt.Records()[0];
    EXPECT_EQ(box.text,
              "The data in file " +
                  QDir::toNativeSeparators(QFileInfo(chosenFile).absoluteFilePath()).toStdString() +
                  " is corrupted!");
    EXPECT_EQ(box.caption, "Read File");
    EXPECT_EQ(box.icon, ui::PromptIcon::Error);
    EXPECT_EQ(box.buttons, ui::PromptButtons::Ok);
    EXPECT_FALSE(box.owned);
    // The file still became the document, without a valid codeplug.
    EXPECT_EQ(Frame().windowTitle(), "edited.dat - Calvex V HXR");
    for (int id : {ID_FILE_SAVE, ID_FILE_PRINT, ID_WRITE_PAGER, ID_USER_DATA, ID_FALSING_ALERT})
        EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(AppFixture, EmptyAndGarbageFilesAreCorruptedNotFatal) {
    ASSERT_TRUE(Start());
    for (QByteArray text : {QByteArray(), QByteArray("no dollars here\n"), QByteArray("$zz $"),
                            QByteArray(100000, '$')}) {
        prompt.Clear();
        EXPECT_FALSE(app->OpenDocumentFile(WriteText("junk.dat", text)));
        ASSERT_EQ(prompt.Records().size(), 1u);
        EXPECT_NE(prompt.Records()[0].text.find("is corrupted!"), std::string::npos);
        EXPECT_FALSE(Doc().DataValid());
    }
}

TEST_F(AppFixture, UnreadableFileLeavesTheDocumentAlone) {
    ASSERT_TRUE(Start());
    app->OpenDocumentFile(WriteDat("good.dat", SampleImage()));
    prompt.Clear();
    EXPECT_FALSE(app->OpenDocumentFile(Path("missing.dat")));
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].caption, "Read File");
    EXPECT_TRUE(Doc().DataValid());
    EXPECT_EQ(Frame().windowTitle(), "good.dat - Calvex V HXR");
    // A directory is no codeplug either.
    EXPECT_FALSE(app->OpenDocumentFile(Path("")));
    EXPECT_TRUE(Doc().DataValid());
}

TEST_F(AppFixture, CommandLineFileIsOpenedAtStart) {
    QString file = WriteDat("start.dat", SampleImage());
    ASSERT_TRUE(Start({"CalvexVHXR", file}));
    EXPECT_EQ(Frame().windowTitle(), "start.dat - Calvex V HXR");
    EXPECT_TRUE(Enabled(ID_WRITE_PAGER));
}

TEST_F(AppFixture, CommandLineCorruptedFileStillStarts) {
    Image bad{};
    QString file = WriteDat("zero.dat", bad);
    ASSERT_TRUE(Start({"CalvexVHXR", file}));
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].caption, "Read File");
    EXPECT_FALSE(Enabled(ID_WRITE_PAGER));
}

TEST_F(AppFixture, CommandLineMissingFileEndsWithoutWindow) {
    EXPECT_FALSE(Start({"CalvexVHXR", Path("nowhere.dat")}));
    EXPECT_FALSE(Frame().isVisible());
    ASSERT_EQ(prompt.Records().size(), 1u);
}

TEST_F(AppFixture, SaveAsWritesTheDatFileWithItsExtension) {
    ASSERT_TRUE(Start());
    app->OpenDocumentFile(WriteDat("in.dat", SampleImage()));
    chosenFile = Path("copy");
    Frame().OnCommand(ID_FILE_SAVE_AS);
    QFile out(Path("copy.dat"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    QByteArray text = out.readAll();
    EXPECT_EQ(text.size(), 5632);
    EXPECT_TRUE(text.startsWith("0x000: $"));
    EXPECT_EQ(Frame().windowTitle(), "copy.dat - Calvex V HXR");
    // The saved file opens again as the same codeplug.
    Image before = Doc().Codeplug().GetImage();
    EXPECT_TRUE(app->OpenDocumentFile(Path("copy.dat")));
    EXPECT_EQ(Doc().Codeplug().GetImage(), before);
}

TEST_F(AppFixture, SaveWritesBackToTheOpenedFile) {
    ASSERT_TRUE(Start());
    QString file = WriteDat("keep.dat", SampleImage());
    app->OpenDocumentFile(file);
    QFile::remove(file);
    chosenFile.clear();  // no dialog may be needed
    Frame().OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(AppFixture, SaveFailureIsReported) {
    ASSERT_TRUE(Start());
    app->OpenDocumentFile(WriteDat("in.dat", SampleImage()));
    chosenFile = Path("no/such/dir/out.dat");
    Frame().OnCommand(ID_FILE_SAVE_AS);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].icon, ui::PromptIcon::Error);
    EXPECT_EQ(Frame().windowTitle(), "in.dat - Calvex V HXR");
}

}  // namespace

namespace {

TEST_F(AppFixture, CommandLinePortOptionAndFileTogether) {
    QString file = WriteDat("start.dat", SampleImage());
    ASSERT_TRUE(Start({"CalvexVHXR", "--port", "/dev/ttyUSB3", file}));
    EXPECT_EQ(link.port, "/dev/ttyUSB3");
    EXPECT_EQ(Frame().windowTitle(), "start.dat - Calvex V HXR");
    app.reset();
    ASSERT_TRUE(Start({"CalvexVHXR", "--port=COM7"}));
    EXPECT_EQ(link.port, "COM7");
    EXPECT_EQ(Frame().windowTitle(), "Untitled - Calvex V HXR");
}

}  // namespace
