#pragma once
// Backups of what a pager held before a write. A normal write reads the
// pager's whole block first (to check its identity); that block is kept as
// a codeplug file in the backup folder before anything is sent, so every
// write can be undone by writing the backup back.
//
// Files are named by the pager's serial number and the local time of the
// write, "136WJA0001-20261207-143000.dat" (a second write in the same second
// adds "-2", "-3", ...). The newest kKeepPerPager of each pager are kept.
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "codeplug/CCodeplug.h"

class PagerBackups {
public:
    static constexpr std::size_t kKeepPerPager = 50;

    // `folder` is created when needed; "" stands for "no data directory",
    // which every Save refuses.
    explicit PagerBackups(std::string folder) : m_folder(std::move(folder)) {}
    const std::string& Folder() const { return m_folder; }

    struct Result {
        bool ok = false;
        std::string path;   // the file written, when ok
        std::string error;  // why not, when !ok
    };
    // Saves the 512 bytes exactly as the pager sent them (byte 511, the
    // firmware version, included), then removes the oldest files of the
    // same pager beyond kKeepPerPager. Only a failure to save fails; a file
    // that cannot be removed is left.
    Result Save(const Image& block,
                std::chrono::system_clock::time_point when = std::chrono::system_clock::now());

    // The serial number as it goes into a file name: the serial text with
    // every character but letters and digits replaced by "_"; "unknown"
    // when nothing is left.
    static std::string SerialPart(const Image& block);
    // "<serial>-YYYYMMDD-HHMMSS" in local time.
    static std::string BaseName(const std::string& serial,
                                std::chrono::system_clock::time_point when);
    // The backups of one pager in the folder, oldest first.
    std::vector<std::string> List(const std::string& serial) const;

private:
    void Prune(const std::string& serial) const;

    std::string m_folder;
};
