#pragma once
// The Read Pager and Write Pager transfers. Each runs on a worker thread,
// touches the codeplug only as described below and ends by posting exactly
// one WM_PAGER_* result.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "codeplug/CCodeplug.h"
#include "link/CCommPort.h"
#include "link/PagerMessages.h"
#include "link/TransferOutcome.h"
#include "link/TransferSink.h"

// Read Pager: on success the codeplug takes the pager's 512 bytes, DATA_VALID
// 1 and the pager's byte 511 as PAGER_VERSION; on failure it is untouched.
// `outcome`, when given, is filled before the result is posted.
void ReadPagerThread(CCommPort& port, CCodeplug& plug, TransferSink& sink,
                     TransferOutcome* outcome = nullptr);

// Write Pager: sends the codeplug's output copy. Outside engineer mode it
// first reads the pager, refuses a pager of another MODEL_NO or codeplug
// major version (writing nothing), and keeps the pager's PLUG_VER, SERIAL_NO
// and MODEL_NO, which the codeplug then takes over too. When the port makes
// backups, the block the pager held is saved before anything is sent, and a
// failure to save it fails the write (BackupFailed) with the pager untouched.
void WritePagerThread(CCommPort& port, CCodeplug& plug, TransferSink& sink,
                      TransferOutcome* outcome = nullptr);

// Whether a codeplug may go into a pager outside engineer mode: the same
// MODEL_NO and codeplug major version (PLUG_VER's integer part).
bool SameIdentity(const Image& pager, const Image& codeplug);

// Runs one transfer at a time on its own thread.
class PagerTransfer {
public:
    explicit PagerTransfer(CCommPort& port) : m_port(port) {}
    ~PagerTransfer() { Join(); }
    PagerTransfer(const PagerTransfer&) = delete;
    PagerTransfer& operator=(const PagerTransfer&) = delete;

    // False (and nothing started) while a transfer still runs. `sink` must
    // outlive the transfer; the codeplug must not be touched until the
    // result has been posted.
    bool StartRead(CCodeplug& plug, TransferSink& sink);
    bool StartWrite(CCodeplug& plug, TransferSink& sink);
    // Same, posting through a function.
    bool StartRead(CCodeplug& plug, std::function<void(int)> post);
    bool StartWrite(CCodeplug& plug, std::function<void(int)> post);

    // True from the start until the result has been posted.
    bool Busy() const { return m_busy; }
    void Join();
    // The detail of the last finished transfer (valid once its result came).
    TransferOutcome LastOutcome() const;

private:
    using Proc = void (*)(CCommPort&, CCodeplug&, TransferSink&, TransferOutcome*);
    bool Start(Proc proc, CCodeplug& plug, TransferSink& sink);

    // Fills the outcome before passing the message on.
    class RecordingSink;

    CCommPort& m_port;
    std::thread m_thread;
    std::atomic<bool> m_busy{false};
    mutable std::mutex m_mutex;
    TransferOutcome m_outcome;
    std::unique_ptr<TransferSink> m_ownSink;
};
