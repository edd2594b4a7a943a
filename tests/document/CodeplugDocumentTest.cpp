#include <gtest/gtest.h>

#include "TempDir.h"
#include "document/CDatFile.h"
#include "document/CodeplugDocument.h"

namespace {

Image Sample() {
    Image image{};
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<Byte>(i ^ 0x5A);
    return image;
}

std::string ValidText() {
    CCodeplug plug;
    plug.SetImage(Sample());
    return CDatFile::Format(plug.PrepareForOutput());
}

TEST(Document, StartsEmptyAndUntitled) {
    CodeplugDocument doc;
    EXPECT_EQ(doc.Title(), "Untitled");
    EXPECT_TRUE(doc.Path().empty());
    EXPECT_EQ(doc.Codeplug().GetImage(), Image{});
    EXPECT_EQ(doc.Codeplug().GetDataValid(), 0);
    EXPECT_EQ(doc.Save().kind, DocumentResult::Kind::NoPath);
}

TEST(Document, OpenValidFileClearsPagerVersionWhateverTheFileSays) {
    TempDir dir;
    std::string text = ValidText();
    text.replace(5632 - 3, 2, "42");  // byte 0x1FF
    const auto path = dir.WriteFile("good.dat", text);
    CodeplugDocument doc;
    doc.Codeplug().SetPagerVersion(17);
    const DocumentResult r = doc.Open(path);
    EXPECT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(doc.Codeplug().GetDataValid(), 1);
    EXPECT_EQ(doc.Codeplug().GetPagerVersion(), 0);
    EXPECT_EQ(doc.Codeplug().GetImage()[0x1FF], 0x42);
    EXPECT_EQ(doc.Title(), "good.dat");
    EXPECT_EQ(doc.Path(), std::filesystem::absolute(path).lexically_normal());
}

TEST(Document, HandEditedFileIsCorruptedButKeepsItsBytes) {
    TempDir dir;
    std::string text = ValidText();
    text[9] = text[9] == '0' ? '1' : '0';  // change byte 0
    std::filesystem::current_path(dir.Path());
    dir.WriteFile("edited.dat", text);
    CodeplugDocument doc;
    const DocumentResult r = doc.Open("edited.dat");
    const std::string full =
        (std::filesystem::absolute(dir.Path()) / "edited.dat").lexically_normal().string();
    EXPECT_EQ(r.kind, DocumentResult::Kind::Corrupted);
    EXPECT_EQ(r.message, "The data in file " + full + " is corrupted!");
    EXPECT_EQ(r.caption, "Read File");
    EXPECT_EQ(doc.Codeplug().GetDataValid(), 0);
    EXPECT_EQ(doc.Codeplug().GetImage(), CDatFile::Parse(text.data(), text.size()).image);
    EXPECT_EQ(doc.Title(), "edited.dat");
    std::filesystem::current_path(std::filesystem::temp_directory_path());
}

TEST(Document, EmptyFileGivesZeroImageAndCorrupted) {
    TempDir dir;
    CodeplugDocument doc;
    doc.Codeplug().SetImage(Sample());
    EXPECT_EQ(doc.Open(dir.WriteFile("empty.dat", "")).kind, DocumentResult::Kind::Corrupted);
    EXPECT_EQ(doc.Codeplug().GetImage(), Image{});
}

TEST(Document, FileOfFiveHundredElevenLinesStandsOnItsChecksum) {
    TempDir dir;
    std::string text = ValidText();
    text.resize(511 * 11);
    CodeplugDocument doc;
    EXPECT_TRUE(doc.Open(dir.WriteFile("short.dat", text)).Ok());
    EXPECT_EQ(doc.Codeplug().GetImage()[0x1FF], doc.Codeplug().GetImage()[0x1FE]);
}

TEST(Document, SavesAndOpensNamesOutsideAscii) {
    TempDir dir;
    const auto path = dir.Path() / std::filesystem::path(u"Z\u00fcrich \u03a9.dat");
    CodeplugDocument doc;
    doc.Codeplug().SetImage(Sample());
    ASSERT_TRUE(doc.SaveAs(path).Ok());
    CodeplugDocument reopened;
    const DocumentResult r = reopened.Open(path);
    EXPECT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(reopened.Codeplug().GetImage(), doc.Codeplug().PrepareForOutput());
    EXPECT_FALSE(reopened.Title().empty());
}

TEST(Document, UnreadableFileLeavesTheDocumentAlone) {
    TempDir dir;
    CodeplugDocument doc;
    ASSERT_TRUE(doc.Open(dir.WriteFile("good.dat", ValidText())).Ok());
    const Image before = doc.Codeplug().GetImage();
    for (const auto& bad : {dir / "missing.dat", dir.Path()}) {
        const DocumentResult r = doc.Open(bad);
        EXPECT_EQ(r.kind, DocumentResult::Kind::Unreadable);
        EXPECT_EQ(r.message.find("corrupted"), std::string::npos);
        EXPECT_NE(r.message.find(bad.filename().string()), std::string::npos) << r.message;
        EXPECT_EQ(doc.Codeplug().GetImage(), before);
        EXPECT_EQ(doc.Codeplug().GetDataValid(), 1);
        EXPECT_EQ(doc.Title(), "good.dat");
    }
}

TEST(Document, SaveWritesTheOutputCopyAndReopensIdentically) {
    TempDir dir;
    CodeplugDocument doc;
    doc.Codeplug().SetImage(Sample());
    const auto path = dir / "saved.dat";
    ASSERT_TRUE(doc.SaveAs(path).Ok());
    EXPECT_EQ(doc.Codeplug().GetImage(), Sample());
    EXPECT_EQ(doc.Title(), "saved.dat");
    const Image written = doc.Codeplug().PrepareForOutput();

    CodeplugDocument again;
    ASSERT_TRUE(again.Open(path).Ok());
    EXPECT_EQ(again.Codeplug().GetImage(), written);
    ASSERT_TRUE(again.Save().Ok());
    EXPECT_EQ(TempDir::ReadFile(path), CDatFile::Format(written));

    const DocumentResult fail = doc.SaveAs(dir / "missing" / "x.dat");
    EXPECT_EQ(fail.kind, DocumentResult::Kind::WriteFailed);
    EXPECT_FALSE(fail.message.empty());
    EXPECT_EQ(doc.Title(), "saved.dat");
}

}  // namespace
