// The field walk shared by calvex show and calvex diff: names, and a
// comparison that names every changed field and only the bytes no field
// describes.
#include <gtest/gtest.h>

#include <algorithm>

#include "document/CDatFile.h"
#include "document/CodeplugFields.h"

namespace {

Image Sample(const char* name) {
    const auto r = CDatFile::Read(std::string(CALVEX_SOURCE_DIR) + "/samples/" + name);
    EXPECT_TRUE(r.ok);
    return r.parsed.image;
}

bool HasField(const std::vector<FieldEntry>& fields, const std::string& name) {
    return std::any_of(fields.begin(), fields.end(),
                       [&](const FieldEntry& f) { return f.name == name; });
}

TEST(CodeplugFields, NamesFollowTheDescription) {
    CCodeplug plug;
    plug.SetImage(Sample("vhf-two-frequency.dat"));
    const FieldJson j = DescribeCodeplug(plug);
    const auto fields = FlattenFields(j);
    // List entries are named by their own name, call number or position.
    EXPECT_TRUE(HasField(fields, "channels.F1.calls.3.tone1"));
    EXPECT_TRUE(HasField(fields, "channels.F2.frequency"));
    EXPECT_TRUE(HasField(fields, "modelOptions.privacy"));
    EXPECT_TRUE(HasField(fields, "switches.SW-A.mode"));
    EXPECT_TRUE(HasField(fields, "serial"));
    const std::string advanced = j["advanced"][0]["name"].get<std::string>();
    EXPECT_TRUE(HasField(fields, "advanced." + advanced + ".value"));
    // Every name is unique, or a change could not be told apart.
    std::vector<std::string> names;
    for (const auto& f : fields) names.push_back(f.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

TEST(CodeplugFields, ComparisonNamesFieldsAndUndescribedBytes) {
    const Image a = Sample("vhf-two-frequency.dat");
    EXPECT_TRUE(CompareCodeplugs(a, a).Equal());

    Image b = a;
    b[layout::CALL_ALERT1] ^= 0x01;  // first call of F1
    b[layout::CHECKSUM] ^= 0xFF;     // no field shows it
    b[layout::PAGER_FIRMWARE] = 0x0C;
    const CodeplugDiff diff = CompareCodeplugs(a, b);
    ASSERT_FALSE(diff.Equal());
    std::vector<std::string> names;
    for (const auto& f : diff.fields) names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"pagerVersion", "channels.F1.calls.1.alert",
                                               "channels.F1.calls.1.alertValue"}));
    ASSERT_EQ(diff.bytes.size(), 1u);
    EXPECT_EQ(diff.bytes[0].offset, layout::CHECKSUM);
    EXPECT_EQ(diff.bytes[0].to, static_cast<Byte>(a[layout::CHECKSUM] ^ 0xFF));

    const std::string text = DiffText(diff);
    EXPECT_NE(text.find("pagerVersion: 0.000 -> 1.200\n"), std::string::npos) << text;
    EXPECT_NE(text.find("byte 0x1ed: $"), std::string::npos) << text;
    const FieldJson j = DiffJson(diff);
    EXPECT_FALSE(j["equal"].get<bool>());
    EXPECT_EQ(j["fields"][1]["field"], "channels.F1.calls.1.alert");
    EXPECT_EQ(j["bytes"][0]["offset"], layout::CHECKSUM);
}

TEST(CodeplugFields, EmptyTonesReadAsNone) {
    EXPECT_EQ(FieldText(FieldJson(nullptr)), "none");
    EXPECT_EQ(FieldText(FieldJson("433.7")), "433.7");
    EXPECT_EQ(FieldText(FieldJson(3)), "3");
    EXPECT_EQ(FieldText(FieldJson(true)), "true");
}

}  // namespace
