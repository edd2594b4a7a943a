#include "app/LinkAdapter.h"

#include "link/CCommPort.h"
#include "link/PagerTransfer.h"
#include "link/ProductDir.h"

namespace {

class CommPortLink : public PagerLink {
public:
    CommPortLink() : m_port(DefaultSettingsPath()), m_transfer(m_port) {
        // Every normal write keeps what the pager held (backups/ beside lib/).
        m_port.SetBackupFolder(DefaultBackupFolder());
    }
    ~CommPortLink() override {
        m_port.EndWaits();
        m_transfer.Join();
    }

    std::string PortName() const override { return m_port.PortName(); }
    int FindPortIndex(const std::string& name) const override {
        return CCommPort::FindPortIndex(name);
    }
    void SelectPort(int index) override { m_port.SelectPort(index); }
    void SetPortName(const std::string& name) override { m_port.SetPortName(name); }
    int Delay() const override { return m_port.Delay(); }
    void SetDelayIndex(int index) override { m_port.SetDelayIndex(index); }
    std::string GetDelayLabel() const override {
        return const_cast<CCommPort&>(m_port).GetDelayLabel();
    }
    std::string SaveSettings() override {
        if (m_port.SaveSettings() || !m_port.SettingsChanged()) return {};
        const std::string where = m_port.SettingsPath().empty()
                                      ? std::string("their file")
                                      : "\"" + m_port.SettingsPath() + "\"";
        return "The communication settings (port " + m_port.PortName() + ", USB delay " +
               m_port.GetDelayLabel() + ") could not be saved in " + where + ": " +
               m_port.SaveError() +
               ".\n\nThe next start uses the settings saved before. To keep these, let your "
               "user account change that file, then choose them again.";
    }
    std::string ProductDir() const override { return ::ProductDir(); }

    bool StartRead(CCodeplug& plug, Post post) override {
        return m_transfer.StartRead(plug, std::move(post));
    }
    bool StartWrite(CCodeplug& plug, Post post) override {
        return m_transfer.StartWrite(plug, std::move(post));
    }
    bool Busy() const override { return m_transfer.Busy(); }
    void Join() override { m_transfer.Join(); }
    void EndWaits() override { m_port.EndWaits(); }
    std::string LastFailureDetail() const override {
        TransferOutcome o = m_transfer.LastOutcome();
        if (o.Ok() || o.message == 0) return {};
        const char* what =
            o.message == WM_PAGER_READ_FAILED ? "Read Pager failed: " : "Write Pager failed: ";
        return what + DescribeFault(o);
    }
    std::string LastFailureSummary() const override {
        TransferOutcome o = m_transfer.LastOutcome();
        if (o.Ok() || o.message == 0) return {};
        const char* what =
            o.message == WM_PAGER_READ_FAILED ? "Read Pager failed: " : "Write Pager failed: ";
        return what + SummarizeFault(o);
    }

    std::string LastBackup() const override {
        TransferOutcome o = m_transfer.LastOutcome();
        return o.Ok() && o.message == WM_PAGER_WRITE_OK ? o.backup : std::string();
    }

private:
    CCommPort m_port;
    PagerTransfer m_transfer;
};

}  // namespace

std::unique_ptr<PagerLink> MakePagerLink() {
    return std::make_unique<CommPortLink>();
}
