#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "TempDir.h"
#include "document/CDatFile.h"

namespace {

Image Pattern() {
    Image image{};
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<Byte>(i * 13 + 1);
    return image;
}

CDatFile::Parsed ParseText(const std::string& text) {
    return CDatFile::Parse(text.data(), text.size());
}

TEST(DatFormat, WritesFiveHundredTwelveExactLines) {
    Image image{};
    image[0] = 0x1F;
    image[0x1FF] = 0xAB;
    const std::string text = CDatFile::Format(image);
    EXPECT_EQ(text.size(), 5632u);
    EXPECT_EQ(text.substr(0, 11), "0x000: $1F\n");
    EXPECT_EQ(text.substr(11, 11), "0x001: $00\n");
    EXPECT_EQ(text.substr(5632 - 11), "0x1ff: $AB\n");
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

// Every line is what printf makes of "0x%03x: $%02X\n", for every offset
// with every byte value.
TEST(DatFormat, EveryLineIsThePrintfLine) {
    for (unsigned shift = 0; shift < 256; ++shift) {
        Image image{};
        std::string expected;
        char line[32];
        for (std::size_t i = 0; i < image.size(); ++i) {
            image[i] = static_cast<Byte>(i + shift);
            std::snprintf(line, sizeof line, "0x%03x: $%02X\n", static_cast<unsigned>(i),
                          static_cast<unsigned>(image[i]));
            expected += line;
        }
        ASSERT_EQ(CDatFile::Format(image), expected) << shift;
    }
}

TEST(DatFormat, ParseGivesBackWhatFormatWrote) {
    const Image image = Pattern();
    const auto parsed = ParseText(CDatFile::Format(image));
    EXPECT_EQ(parsed.image, image);
    EXPECT_EQ(parsed.valuesRead, 512u);
}

TEST(DatFormat, OnlyDollarSignsMatterAndCaseDoesNot) {
    std::string text = CDatFile::Format(Pattern());
    std::string lower = text;
    for (std::size_t i = 0; i < lower.size(); ++i) {
        if (lower[i] == '$') {
            lower[i + 1] = static_cast<char>(std::tolower(lower[i + 1]));
            lower[i + 2] = static_cast<char>(std::tolower(lower[i + 2]));
        }
    }
    EXPECT_EQ(ParseText(lower).image, Pattern());

    // Offsets and separators are decoration: CRLF, odd labels, values glued together.
    const auto odd = ParseText("garbage 0x999:$1\r\nzz $  ff$0x10$7$abc\n");
    EXPECT_EQ(odd.valuesRead, 5u);
    EXPECT_EQ(odd.image[0], 0x01);
    EXPECT_EQ(odd.image[1], 0xFF);
    EXPECT_EQ(odd.image[2], 0x10);
    EXPECT_EQ(odd.image[3], 0x07);
    EXPECT_EQ(odd.image[4], 0xBC);
    EXPECT_EQ(odd.image[511], 0xBC);
}

TEST(DatFormat, WideNumbersKeepTheirLowByte) {
    const std::string huge = "$" + std::string(100000, 'F') + "7e\n$123456789ABCDEF01\n";
    const auto parsed = ParseText(huge);
    EXPECT_EQ(parsed.valuesRead, 2u);
    EXPECT_EQ(parsed.image[0], 0x7E);
    EXPECT_EQ(parsed.image[1], 0x01);
}

TEST(DatFormat, ShortFilesRepeatTheLastValue) {
    Image image = Pattern();
    std::string text = CDatFile::Format(image);
    text.resize(511 * 11);  // 511 lines
    const auto parsed = ParseText(text);
    EXPECT_EQ(parsed.valuesRead, 511u);
    EXPECT_EQ(parsed.image[0x1FF], image[0x1FE]);

    // A "$" without digits ends the reading like the end of the file does.
    const auto broken = ParseText("$12 $34 $zz $56");
    EXPECT_EQ(broken.valuesRead, 2u);
    EXPECT_EQ(broken.image[2], 0x34);
    EXPECT_EQ(broken.image[511], 0x34);

    EXPECT_EQ(ParseText("").image, Image{});
    EXPECT_EQ(ParseText("no dollars at all 0x000: 1F").image, Image{});
}

TEST(DatFormat, StopsAfterFiveHundredTwelveValues) {
    std::string text = CDatFile::Format(Pattern()) + "$EE\n$EE\n";
    std::istringstream in(text);
    const auto parsed = CDatFile::Parse(in);
    EXPECT_EQ(parsed.image, Pattern());
    // The stream is left right after the last byte used.
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, "");
    std::getline(in, rest);
    EXPECT_EQ(rest, "$EE");
}

TEST(DatFormat, ValidityNeedsMatchingChecksumAndSomeData) {
    CCodeplug plug;
    EXPECT_FALSE(CDatFile::IsValid(plug.PrepareForOutput()));  // all zero, sum 0 matches
    Image image{};
    image[5] = 9;
    plug.SetImage(image);
    Image out = plug.PrepareForOutput();
    EXPECT_TRUE(CDatFile::IsValid(out));
    out[0x1FF] ^= 0xFF;  // outside the sum
    out[0x1EE] ^= 0xFF;  // the check code is not checked on load
    EXPECT_TRUE(CDatFile::IsValid(out));
    out[0x10] ^= 1;
    EXPECT_FALSE(CDatFile::IsValid(out));
}

TEST(DatFile, WriteThenReadGivesTheSameBytes) {
    TempDir dir;
    CCodeplug plug;
    plug.SetImage(Pattern());
    const auto path = dir / "plug.dat";
    ASSERT_TRUE(CDatFile::Write(path, plug).ok);
    EXPECT_EQ(plug.GetImage(), Pattern());  // the image itself is not changed
    EXPECT_EQ(TempDir::ReadFile(path), CDatFile::Format(plug.PrepareForOutput()));
    const auto read = CDatFile::Read(path);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.parsed.image, plug.PrepareForOutput());
    EXPECT_TRUE(CDatFile::IsValid(read.parsed.image));

    // Overwriting an existing file works and leaves no temporary behind.
    plug.SetIfByte(0x24);
    ASSERT_TRUE(CDatFile::Write(path, plug).ok);
    EXPECT_EQ(CDatFile::Read(path).parsed.image, plug.PrepareForOutput());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(DatFile, NamesOutsideAsciiAreReadAndWritten) {
    TempDir dir;
    const auto path = dir.Path() / std::filesystem::path(u"Z\u00fcrich \u03a9.dat");
    CCodeplug plug;
    plug.SetImage(Pattern());
    ASSERT_TRUE(CDatFile::Write(path, plug).ok);
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    const auto read = CDatFile::Read(path);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.parsed.image, plug.PrepareForOutput());
}

TEST(DatFile, UnreadableAndUnwritablePlacesAreErrors) {
    TempDir dir;
    const auto missing = CDatFile::Read(dir / "missing.dat");
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());
    const auto folder = CDatFile::Read(dir.Path());
    EXPECT_FALSE(folder.ok);
    EXPECT_FALSE(folder.error.empty());
    EXPECT_FALSE(CDatFile::Write(dir / "no" / "such" / "dir.dat", Image{}).ok);
    EXPECT_FALSE(CDatFile::Write(dir.Path(), Image{}).ok);
}

}  // namespace

namespace {

TEST(DatFile, ReadOnlyFilesAndLinksAreRespected) {
    TempDir dir;
    const auto locked = dir.WriteFile("locked.dat", "keep me");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::replace);
    EXPECT_FALSE(CDatFile::Write(locked, Image{}).ok);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    EXPECT_EQ(TempDir::ReadFile(locked), "keep me");

#ifndef _WIN32
    const auto real = dir.WriteFile("real.dat", "old");
    const auto link = dir / "link.dat";
    std::filesystem::create_symlink(real, link);
    ASSERT_TRUE(CDatFile::Write(link, Image{}).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempDir::ReadFile(real), CDatFile::Format(Image{}));
#endif
}

}  // namespace
