#pragma once
// The one serial link to the pager programmer: the port, its two settings
// (port name and write settle delay) and the two exchanges of the pager
// protocol. Every exchange runs on a port that Open left open and closes it
// before returning, whatever the outcome.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "link/SerialPort.h"
#include "link/TransferOutcome.h"

class CCommPort {
public:
    using Byte = std::uint8_t;

    static constexpr int kPortCount = 64;
    static constexpr int kDelayCount = 4;
    static constexpr int kDefaultDelay = 3000;
    // The longest settle wait: the delay list tops out at 5 s, and a pager
    // that needs more than a minute after a frame is not answering at all.
    // A larger delay (only a hand-edited settings file has one) waits this
    // long; the file keeps what it says.
    static constexpr int kMaxDelay = 60000;
    static constexpr const char* kDefaultPort = "COM1";
    static constexpr std::size_t kImageSize = 512;
    static constexpr std::size_t kBlockSize = 513;  // block plus its sum
    static constexpr Byte kAck = 0x06;

    // The program's link: loads the settings file of the installation
    // directory now and writes it back when destroyed.
    CCommPort();
    // A link with the settings of `settingsPath` ("" = defaults only, and
    // nothing is ever saved). `saveOnDestroy` writes them back at the end.
    // `port` replaces the system's backend.
    explicit CCommPort(std::string settingsPath, bool saveOnDestroy = false,
                       std::unique_ptr<SerialPort> port = nullptr);
    ~CCommPort();
    CCommPort(const CCommPort&) = delete;
    CCommPort& operator=(const CCommPort&) = delete;

    // Opens the named port and sets up the line.
    bool Open();
    // Read exchange into a caller-owned 513-byte block, all zero on entry.
    // True when exactly 513 bytes came whose first 512 are not all zero and
    // sum to the last one.
    bool ReadImage(Byte* block);
    // Write exchange of a caller-owned 512-byte image: sends "w", bytes 0 to
    // 510 and their sum, waits the settle delay and reads the answer into
    // byte 0 ("w" stays there when none came). True when the frame went out
    // and the read call worked; whether the answer is ACK is the caller's test.
    bool WriteImage(Byte* image);
    // Ends a running settle wait now and every later one at once: the
    // program is closing. Callable from any thread.
    void EndWaits() { m_endWaits = true; }
    // What the last Open or exchange found.
    const TransferOutcome& LastExchange() const { return m_last; }

    // Settings.
    const std::string& PortName() const { return m_portName; }
    void SetPortName(const std::string& name) { m_portName = name; }
    int Delay() const { return m_delay; }
    void SetDelay(int ms) { m_delay = ms; }
    // Index of the port name in the port list, 0 when it is not there.
    int FindPortIndex() const { return FindPortIndex(m_portName); }
    static int FindPortIndex(const std::string& name);
    // Port name = port list entry `index` (entry 0 for an index out of range).
    void SelectPort(int index);
    // 0: 2000 ms, 2: 4000 ms, 3: 5000 ms, anything else: 3000 ms.
    void SetDelayIndex(int index);
    // Label of the current delay; "3 Seconds (Default)" for one not listed.
    std::string GetDelayLabel() const;
    static std::string PortListEntry(int index);  // "COM1" .. "COM64"
    static const char* DelayListLabel(int index);
    static int DelayListValue(int index);

    // The settings file: ProductDir + "lib/CalvexV.ini". Loading starts from
    // the defaults; a missing or odd file leaves them. Saving replaces the
    // file (creating its folder where the platform allows); false when it
    // could not be written. A port name the file cannot keep (see
    // PortNameUnstorable) is never written: the file keeps the port it
    // named before, with the current delay.
    const std::string& SettingsPath() const { return m_settingsPath; }
    void LoadSettings();
    bool SaveSettings();
    // True while the settings differ from what the file holds (as loaded or
    // last saved): a save that fails now loses a change.
    bool SettingsChanged() const;
    // Why the last SaveSettings failed ("" after one that worked).
    const std::string& SaveError() const { return m_saveError; }

    SerialPort& Port() { return *m_port; }

    // Where a normal write keeps the pager's previous contents before it
    // sends anything (see PagerBackups). Not set: no backups are made, as for
    // a link used without a data directory of its own. Set to "": every
    // normal write fails, since there is nowhere to keep the backup.
    void SetBackupFolder(std::string folder) {
        m_backupFolder = std::move(folder);
        m_backups = true;
    }
    bool MakesBackups() const { return m_backups; }
    const std::string& BackupFolder() const { return m_backupFolder; }

private:
    bool FailExchange(LinkFault fault);
    void NoteOpenFailure();
    void SettleWait();

    std::unique_ptr<SerialPort> m_port;
    std::string m_portName = kDefaultPort;
    std::string m_storedPortName = kDefaultPort;  // the port the file names
    int m_storedDelay = kDefaultDelay;            // and its delay
    mutable std::string m_delayLabel;             // scratch: the label last asked for
    std::string m_saveError;
    int m_delay = kDefaultDelay;
    std::atomic<bool> m_endWaits{false};
    std::string m_settingsPath;
    bool m_saveOnDestroy = false;
    bool m_backups = false;
    std::string m_backupFolder;
    TransferOutcome m_last;
};
