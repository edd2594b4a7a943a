#pragma once
// What the desktop program needs of the serial link: the two settings and
// the two transfers. A transfer runs on a worker thread and reports exactly
// one result message (cmd::WM_PAGER_*) through `post`, from that thread.
#include <functional>
#include <string>

class CCodeplug;

class PagerLink {
public:
    using Post = std::function<void(int message)>;
    virtual ~PagerLink() = default;

    virtual std::string PortName() const = 0;
    virtual int FindPortIndex(const std::string& name) const = 0;
    virtual void SelectPort(int index) = 0;
    // Any port name, e.g. a device path picked from the found devices.
    virtual void SetPortName(const std::string& name) = 0;
    virtual int Delay() const = 0;
    virtual void SetDelayIndex(int index) = 0;
    virtual std::string GetDelayLabel() const = 0;

    // Writes the settings file. When a change of the settings could not be
    // written, returns what the user should be told; "" when it was saved or
    // nothing was lost.
    virtual std::string SaveSettings() = 0;
    // The installation directory ("" when unknown), ends with a separator.
    virtual std::string ProductDir() const = 0;

    // Starts a transfer into or out of `plug`; false when one still runs.
    virtual bool StartRead(CCodeplug& plug, Post post) = 0;
    virtual bool StartWrite(CCodeplug& plug, Post post) = 0;
    // True while a worker thread runs.
    virtual bool Busy() const = 0;
    // Waits for a running worker to end.
    virtual void Join() = 0;
    // The program is closing: a running transfer's waits end at once.
    virtual void EndWaits() {}
    // Why the last transfer failed, in words for the status bar ("" when it
    // did not fail or nobody knows).
    virtual std::string LastFailureDetail() const = 0;
    // The same in a few words, short enough for the status bar ("" when it
    // did not fail or nobody knows).
    virtual std::string LastFailureSummary() const { return LastFailureDetail(); }
    // The file that keeps what the pager held before the last write, when
    // that write succeeded and made one ("" otherwise).
    virtual std::string LastBackup() const { return {}; }
};
