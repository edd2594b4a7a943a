// Fuzz target: any bytes as a .dat file. Reading, validating, decoding the
// records and producing their texts must stay defined, and the round trips
// the program relies on must hold.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <istream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "document/CDatFile.h"

namespace {

void Require(bool ok) {
    if (!ok) std::abort();
}

// A stream over the fuzzer's bytes without copying them.
class MemoryBuf : public std::streambuf {
public:
    MemoryBuf(const std::uint8_t* data, std::size_t size) {
        char* p = reinterpret_cast<char*>(const_cast<std::uint8_t*>(data));
        setg(p, p, p + size);
    }
};

// Touches every text of the decoded records; a read outside a table shows up
// under the address sanitizer.
std::size_t AllTexts(const CPagerData& d) {
    std::size_t n = 0;
    n += d.model.ModelText().size() + d.model.SubBandText().size() + d.model.CrystalText().size();
    n += d.serial.SerialText().size() + d.serial.UnitText().size();
    n += CSerialNumber::WarrantyText(d.serial.GetWarranty()).size();
    n += CSerialNumber::SiteText(d.serial.GetSite()).size();
    n += CSerialNumber::YearText(d.serial.GetYear()).size();
    n += d.ifSetting.IfText().size() + d.ifSetting.IfName().size();
    n += d.ifSetting.InjectionText().size();
    n += d.version.PlugVersionText().size() + d.version.PagerVersionText().size();
    n += d.ToneSystemText().size();
    for (const CChannelData& ch : d.channel) {
        n += ch.CodingOptionText().size();
        n += static_cast<std::size_t>(ch.GetFrequency() != 0.0);
        for (int slot = 0; slot < CChannelData::kSlots; ++slot) n += ch.ToneText(slot).size();
        for (int call = 0; call < CChannelData::kCalls; ++call) {
            n += ch.CallAlertText(call).size() + ch.CallAlertShortText(call).size();
            n += ch.DutyText(call).size();
        }
    }
    n += d.options.SvRecordTimeText().size() + d.options.ResetFunctionText().size();
    n += d.options.AlertDurationText().size();
    for (int pos = 0; pos < CSwitchSettings::kPositions; ++pos) {
        n += CSwitchSettings::ModeText(d.switches.GetMode(pos)).size();
        n += CSwitchSettings::AlertTypeText(d.switches.GetAlertType(pos)).size();
    }
    n += static_cast<std::size_t>(d.squelch.GetLevel());
    for (const auto& f : CAdvancedData::AllFields())
        n += d.advanced.Get(f.field) + std::string(f.rangeText).size();
    return n;
}

// Everything after the readers depends on the image alone, and most inputs
// differ from an earlier one only in what the reader skips: an image already
// taken through those checks would go through them the same way again. The
// images are kept whole (no hash that could take two for one), a bounded
// number of them, in memory taken once: a run that allocates more than it
// frees makes the fuzzer look for a leak, which costs a second run.
bool CheckedBefore(const Image& image) {
    constexpr std::size_t kKept = 1u << 17;  // 64 MB of images at most
    constexpr std::size_t kSlots = kKept * 2;
    constexpr std::uint32_t kFree = 0xFFFFFFFFu;
    static std::vector<Image> images = [] {
        std::vector<Image> v;
        v.reserve(kKept);
        return v;
    }();
    static std::vector<std::uint32_t> slots(kSlots, kFree);
    if (images.size() == kKept) {
        images.clear();
        std::fill(slots.begin(), slots.end(), kFree);
    }
    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    for (std::size_t i = std::hash<std::string_view>{}(bytes) % kSlots;; i = (i + 1) % kSlots) {
        if (slots[i] == kFree) {
            slots[i] = static_cast<std::uint32_t>(images.size());
            images.push_back(image);
            return false;
        }
        if (images[slots[i]] == image) return true;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CDatFile::Parsed parsed = CDatFile::Parse(data, size);
    Require(parsed.valuesRead <= 512);

    // The stream reader sees the same bytes the same way (read in place).
    MemoryBuf buf(data, size);
    std::istream in(&buf);
    const CDatFile::Parsed streamed = CDatFile::Parse(in);
    Require(streamed.image == parsed.image && streamed.valuesRead == parsed.valuesRead);
    if (CheckedBefore(parsed.image)) return 0;

    // What the writer makes of the image reads back as the same image (in
    // memory, into one buffer for the whole run).
    static char text[CDatFile::kFileSize];
    CDatFile::Format(parsed.image, text);
    const CDatFile::Parsed reread = CDatFile::Parse(text, sizeof text);
    Require(reread.image == parsed.image && reread.valuesRead == 512);

    CCodeplug plug;
    plug.SetImage(parsed.image);
    plug.SetDataValid(CDatFile::IsValid(parsed.image) ? 1 : 0);
    // The output copy passes the reader's check unless it holds no data.
    const Image out = plug.PrepareForOutput();
    bool anyData = false;
    for (std::size_t i = 0; i < layout::CHECKSUM_SPAN; ++i) anyData = anyData || out[i] != 0;
    Require(CDatFile::IsValid(out) == anyData);

    CodeplugContext::Get().Reset();
    CPagerData data1;
    data1.Decode(plug);
    volatile std::size_t sink = AllTexts(data1);
    (void)sink;

    // Decoding and encoding again changes nothing once the tables are packed.
    data1.Encode(plug);
    const Image once = plug.GetImage();
    CPagerData data2;
    data2.Decode(plug);
    data2.Encode(plug);
    Require(plug.GetImage() == once);
    CodeplugContext::Get().Reset();
    return 0;
}
