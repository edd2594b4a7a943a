#pragma once
// The program's single document: the one codeplug image of the run, the
// file it came from and the title shown in the frame caption. The desktop
// program wraps it; calvex uses it directly. It never asks to save, so it
// keeps no modified flag.
#include <filesystem>
#include <string>

#include "codeplug/CCodeplug.h"
#include "document/DocumentResult.h"

class CodeplugDocument {
public:
    static constexpr const char* kUntitled = "Untitled";
    static constexpr const char* kReadCaption = "Read File";

    CCodeplug& Codeplug() { return m_codeplug; }
    const CCodeplug& Codeplug() const { return m_codeplug; }

    // Full path of the document's file; empty for a new document.
    const std::filesystem::path& Path() const { return m_path; }
    // The file's name, or "Untitled".
    const std::string& Title() const { return m_title; }

    // Opens a .dat file. A file that fails the checksum or holds only zeros
    // still opens (its bytes are kept, DATA_VALID is 0) and gives Corrupted
    // with the message to show; a file that cannot be read leaves the
    // document as it was and gives Unreadable. PAGER_VERSION is 0 afterwards.
    DocumentResult Open(const std::filesystem::path& path);

    // Writes the output copy of the image (fresh CHECKSUM and CHECK_CODE);
    // the image itself is not changed. Save() needs a path from an earlier
    // Open or SaveAs and otherwise gives NoPath.
    DocumentResult Save();
    DocumentResult SaveAs(const std::filesystem::path& path);

    // Back to a fresh document: all-zero image, no path.
    void Clear();

private:
    CCodeplug m_codeplug;
    std::filesystem::path m_path;
    std::string m_title = kUntitled;
};
