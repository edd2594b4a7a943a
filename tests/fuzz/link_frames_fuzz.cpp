// Fuzz target: the bytes a pager sends on the line, for a Read Pager and for
// a Write Pager (its identity read and the answer to the frame). A port in
// memory plays them back: the input's first byte chooses failures of the
// port itself and engineer mode, then each read call takes one control byte
// (how many bytes come) followed by those bytes.
//
// Checked: a read succeeds exactly for a whole block of 513 bytes with the
// right sum, not all zero and nothing after it, and then the codeplug holds
// those bytes; any failure leaves the codeplug as it was; a write frame goes
// out only after a good identity read of the same model number and codeplug
// version (or in engineer mode), carries the pager's own bytes and a right
// sum, and succeeds exactly when the answer is ACK.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "codeplug/CodeplugContext.h"
#include "link/CCommPort.h"
#include "link/PagerTransfer.h"

namespace {

void Require(bool ok) {
    if (!ok) std::abort();
}

using Bytes = std::vector<std::uint8_t>;

std::uint8_t Sum(const std::uint8_t* p, std::size_t n) {
    return static_cast<std::uint8_t>(std::accumulate(p, p + n, 0u));
}

enum : std::uint8_t {
    kOpenFails = 1,        // the first Open fails
    kTimeoutsFail = 2,     // setting time-outs fails
    kShortWrite = 3,       // a frame goes out one byte short
    kSecondOpenFails = 4,  // the write's second Open fails
    kEngineer = 0x08,
};

// Control byte of a read call: 0xFF delivers exactly what was asked for with
// the last byte made the sum of the others; 0xFE what was asked for as it
// stands; anything else that many bytes (at most what was asked for).
class ScriptPort : public SerialPort {
public:
    ScriptPort(const std::uint8_t* data, std::size_t size, std::uint8_t mode)
        : m_data(data), m_size(size), m_mode(mode) {}

    std::vector<Bytes> writes;  // every Write call's bytes
    std::vector<Bytes> reads;   // every Read call's bytes

    bool Open(const std::string& name) override {
        m_device = name;
        ++m_opens;
        const bool fail = (m_mode & 7) == (m_opens == 1 ? kOpenFails : kSecondOpenFails);
        if (fail) {
            SetError(PortError::Missing, "no such port");
            return false;
        }
        m_open = true;
        return true;
    }
    bool SetTimeouts(const PortTimeouts&) override {
        if ((m_mode & 7) == kTimeoutsFail) {
            SetError(PortError::Timeouts);
            return false;
        }
        return true;
    }
    bool Write(const std::uint8_t* data, std::size_t size, std::size_t& written) override {
        Require(m_open);
        written = (m_mode & 7) == kShortWrite && size > 1 ? size - 1 : size;
        writes.emplace_back(data, data + written);
        return true;
    }
    bool Read(std::uint8_t* data, std::size_t size, std::size_t& received) override {
        Require(m_open);
        received = 0;
        if (m_at < m_size) {
            const std::uint8_t control = m_data[m_at++];
            std::size_t want = control >= 0xFE ? size : std::min<std::size_t>(control, size);
            want = std::min(want, m_size - m_at);
            std::copy_n(m_data + m_at, want, data);
            m_at += want;
            received = want;
            if (control == 0xFF && want == size && size > 1) data[size - 1] = Sum(data, size - 1);
        }
        reads.emplace_back(data, data + received);
        return true;
    }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void Pause(int) override {}

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
    std::uint8_t m_mode;
    int m_opens = 0;
    bool m_open = false;
};

// Whether a read exchange's reads make a good block.
bool GoodBlock(const std::vector<Bytes>& reads, std::size_t first) {
    if (reads.size() < first + 2) return false;
    const Bytes& b = reads[first];
    if (b.size() != 513 || Sum(b.data(), 512) != b[512]) return false;
    if (std::all_of(b.begin(), b.begin() + 512, [](std::uint8_t v) { return v == 0; }))
        return false;
    return reads[first + 1].empty();
}

// The document a write starts from: a fixed pattern whose identity bytes
// the seeds repeat.
Image DocumentImage() {
    Image img{};
    for (std::size_t i = 0; i < img.size(); ++i) img[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return img;
}

void CheckRead(const std::uint8_t* data, std::size_t size, std::uint8_t mode) {
    auto owned = std::make_unique<ScriptPort>(data, size, mode);
    ScriptPort& port = *owned;
    CCommPort link("", false, std::move(owned));
    CCodeplug plug;
    plug.SetImage(DocumentImage());
    int message = 0;
    FunctionSink sink([&](int m) { message = m; });
    TransferOutcome outcome;
    ReadPagerThread(link, plug, sink, &outcome);

    // A one-byte command cannot go out short.
    const bool ok =
        (mode & 7) != kOpenFails && (mode & 7) != kTimeoutsFail && GoodBlock(port.reads, 0);
    Require(message == (ok ? WM_PAGER_READ_OK : WM_PAGER_READ_FAILED));
    Require(outcome.message == message && outcome.Ok() == ok);
    Require(!port.IsOpen());
    if (ok) {
        Require(std::equal(port.reads[0].begin(), port.reads[0].begin() + 512,
                           plug.GetImage().begin()));
        Require(plug.GetPagerVersion() == port.reads[0][511] && plug.GetDataValid() == 1);
    } else {
        Require(plug.GetImage() == DocumentImage() && plug.GetDataValid() == 0);
    }
}

void CheckWrite(const std::uint8_t* data, std::size_t size, std::uint8_t mode) {
    const bool engineer = (mode & kEngineer) != 0;
    CodeplugContext::Get().engineer = engineer;
    auto owned = std::make_unique<ScriptPort>(data, size, mode);
    ScriptPort& port = *owned;
    CCommPort link("", false, std::move(owned));
    CCodeplug plug;
    plug.SetImage(DocumentImage());
    const Image before = plug.PrepareForOutput();
    int message = 0;
    FunctionSink sink([&](int m) { message = m; });
    TransferOutcome outcome;
    WritePagerThread(link, plug, sink, &outcome);
    CodeplugContext::Get().engineer = false;

    Require(message == WM_PAGER_WRITE_OK || message == WM_PAGER_WRITE_FAILED);
    Require(outcome.message == message && !port.IsOpen());
    // The frame, if one went out, is the last write and the only "w".
    const Bytes* frame = nullptr;
    for (const Bytes& w : port.writes) {
        if (!w.empty() && w[0] == 'w') {
            Require(frame == nullptr);
            frame = &w;
        }
    }
    Image expected = before;
    std::size_t answerRead = 0;  // index of the read that carries the answer
    bool mayWrite = (mode & 7) != kOpenFails && (mode & 7) != kTimeoutsFail;
    if (!engineer && mayWrite) {
        mayWrite = GoodBlock(port.reads, 0);
        if (mayWrite) {
            const Bytes& p = port.reads[0];
            for (std::size_t at : {252u, 253u, 254u, 255u, 207u})
                mayWrite = mayWrite && p[at] == before[at];
            for (std::size_t at : {207u, 208u, 248u, 249u, 250u, 251u}) expected[at] = p[at];
            CCodeplug merged;
            merged.SetImage(expected);
            expected = merged.PrepareForOutput();
        }
        mayWrite = mayWrite && (mode & 7) != kSecondOpenFails;
        answerRead = 2;
    }
    if (!mayWrite) {
        Require(frame == nullptr && message == WM_PAGER_WRITE_FAILED);
        Require(plug.PrepareForOutput() == before);
        return;
    }
    Require(frame != nullptr);
    if ((mode & 7) == kShortWrite) {
        Require(message == WM_PAGER_WRITE_FAILED);
        return;
    }
    Require(frame->size() == 513 &&
            std::equal(expected.begin(), expected.begin() + 511, frame->begin() + 1));
    Require((*frame)[512] == Sum(frame->data() + 1, 511));
    Require(plug.PrepareForOutput() == expected);
    Require(port.reads.size() == answerRead + 1);
    const Bytes& answer = port.reads[answerRead];
    const bool acked = answer.size() == 1 && answer[0] == CCommPort::kAck;
    Require((message == WM_PAGER_WRITE_OK) == acked);
    Require(outcome.answer == (answer.empty() ? -1 : answer[0]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    CheckRead(data + 1, size - 1, mode & ~kEngineer);
    CheckWrite(data + 1, size - 1, mode);
    return 0;
}
