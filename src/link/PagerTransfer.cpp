#include "link/PagerTransfer.h"

#include <algorithm>
#include <array>

#include "codeplug/CodeplugContext.h"
#include "link/PagerBackups.h"

namespace {

using Block = std::array<Byte, CCommPort::kBlockSize>;

// The identity bytes: MODEL_NO and the integer part of PLUG_VER.
constexpr std::size_t kIdentity[] = {layout::MODEL_NO, layout::MODEL_NO + 1, layout::MODEL_NO + 2,
                                     layout::MODEL_NO + 3, layout::PLUG_VER};

void Finish(TransferSink& sink, TransferOutcome* outcome, TransferOutcome detail, int message) {
    detail.message = message;
    if (outcome) *outcome = detail;
    sink.Post(message);
}

}  // namespace

bool SameIdentity(const Image& pager, const Image& codeplug) {
    for (std::size_t at : kIdentity)
        if (pager[at] != codeplug[at]) return false;
    return true;
}

void ReadPagerThread(CCommPort& port, CCodeplug& plug, TransferSink& sink,
                     TransferOutcome* outcome) {
    if (!port.Open()) return Finish(sink, outcome, port.LastExchange(), WM_PAGER_READ_FAILED);
    Block block{};
    if (!port.ReadImage(block.data())) {
        return Finish(sink, outcome, port.LastExchange(), WM_PAGER_READ_FAILED);
    }
    plug.SetDataValid(1);
    plug.SetImage(block.data(), layout::IMAGE_SIZE);
    plug.SetPagerVersion(block[layout::PAGER_FIRMWARE]);
    Finish(sink, outcome, port.LastExchange(), WM_PAGER_READ_OK);
}

void WritePagerThread(CCommPort& port, CCodeplug& plug, TransferSink& sink,
                      TransferOutcome* outcome) {
    std::string backup;  // the file that keeps what the pager held
    const auto finish = [&](TransferOutcome detail, int message) {
        detail.backup = backup;
        Finish(sink, outcome, std::move(detail), message);
    };
    if (!port.Open()) return finish(port.LastExchange(), WM_PAGER_WRITE_FAILED);
    Image image = plug.PrepareForOutput();

    if (!CodeplugContext::Get().engineer) {
        Block pager{};
        if (!port.ReadImage(pager.data())) {
            return finish(port.LastExchange(), WM_PAGER_WRITE_FAILED);
        }
        Image held{};
        std::copy_n(pager.begin(), held.size(), held.begin());
        if (!SameIdentity(held, image)) {
            TransferOutcome detail = port.LastExchange();
            detail.fault = LinkFault::IdentityMismatch;
            return finish(detail, WM_PAGER_WRITE_FAILED);
        }
        // Keep what the pager holds before anything is sent; without a
        // backup the pager is not touched.
        if (port.MakesBackups()) {
            const PagerBackups::Result saved = PagerBackups(port.BackupFolder()).Save(held);
            if (!saved.ok) {
                TransferOutcome detail = port.LastExchange();
                detail.fault = LinkFault::BackupFailed;
                detail.system = saved.error;
                return finish(detail, WM_PAGER_WRITE_FAILED);
            }
            backup = saved.path;
        }
        if (!port.Open()) return finish(port.LastExchange(), WM_PAGER_WRITE_FAILED);
        // The pager keeps its own codeplug version, serial and model number.
        const auto keep = [&](std::size_t from, std::size_t count) {
            std::copy_n(pager.begin() + from, count, image.begin() + from);
        };
        keep(layout::PLUG_VER, 2);
        keep(layout::SERIAL_NO, 4);
        keep(layout::MODEL_NO, 4);
        plug.SetImage(image);
        image = plug.PrepareForOutput();
    }

    if (!port.WriteImage(image.data())) {
        return finish(port.LastExchange(), WM_PAGER_WRITE_FAILED);
    }
    TransferOutcome detail = port.LastExchange();
    if (image[0] == CCommPort::kAck && detail.received > 0) {
        return finish(detail, WM_PAGER_WRITE_OK);
    }
    detail.fault = detail.received ? LinkFault::Refused : LinkFault::NoAck;
    finish(detail, WM_PAGER_WRITE_FAILED);
}

// Stores the outcome and ends the busy state before the message goes out,
// so whoever gets the message can read the detail and start the next one.
class PagerTransfer::RecordingSink : public TransferSink {
public:
    RecordingSink(PagerTransfer& owner, TransferSink& target) : m_owner(owner), m_target(target) {}
    TransferOutcome result;
    void Post(int message) override {
        {
            std::lock_guard<std::mutex> lock(m_owner.m_mutex);
            m_owner.m_outcome = result;
        }
        m_owner.m_busy = false;
        m_target.Post(message);
    }

private:
    PagerTransfer& m_owner;
    TransferSink& m_target;
};

bool PagerTransfer::Start(Proc proc, CCodeplug& plug, TransferSink& sink) {
    if (m_busy) return false;
    Join();
    m_busy = true;
    m_thread = std::thread([this, proc, &plug, &sink] {
        RecordingSink relay(*this, sink);
        proc(m_port, plug, relay, &relay.result);
    });
    return true;
}

bool PagerTransfer::StartRead(CCodeplug& plug, TransferSink& sink) {
    return Start(&ReadPagerThread, plug, sink);
}

bool PagerTransfer::StartWrite(CCodeplug& plug, TransferSink& sink) {
    return Start(&WritePagerThread, plug, sink);
}

bool PagerTransfer::StartRead(CCodeplug& plug, std::function<void(int)> post) {
    if (m_busy) return false;
    Join();
    m_ownSink = std::make_unique<FunctionSink>(std::move(post));
    return StartRead(plug, *m_ownSink);
}

bool PagerTransfer::StartWrite(CCodeplug& plug, std::function<void(int)> post) {
    if (m_busy) return false;
    Join();
    m_ownSink = std::make_unique<FunctionSink>(std::move(post));
    return StartWrite(plug, *m_ownSink);
}

void PagerTransfer::Join() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

TransferOutcome PagerTransfer::LastOutcome() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_outcome;
}
