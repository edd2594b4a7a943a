#include "document/CodeplugDocument.h"

#include <cstdio>
#include <system_error>

#include "document/CDatFile.h"

namespace {

std::filesystem::path Absolute(const std::filesystem::path& path) {
    std::error_code ec;
    auto abs = std::filesystem::absolute(path, ec);
    return ec ? path : abs.lexically_normal();
}

std::string Format(const char* fmt, const std::string& a, const std::string& b = {}) {
    const int n = std::snprintf(nullptr, 0, fmt, a.c_str(), b.c_str());
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    std::snprintf(out.data(), out.size() + 1, fmt, a.c_str(), b.c_str());
    return out;
}

}  // namespace

DocumentResult CodeplugDocument::Open(const std::filesystem::path& path) {
    const std::filesystem::path full = Absolute(path);
    const CDatFile::ReadResult read = CDatFile::Read(full);
    if (!read.ok) {
        return {DocumentResult::Kind::Unreadable,
                Format("Unable to open the file %s: %s.", full.string(), read.error), kReadCaption};
    }
    m_codeplug.SetImage(read.parsed.image);
    m_codeplug.SetPagerVersion(0);
    const bool valid = CDatFile::IsValid(read.parsed.image);
    m_codeplug.SetDataValid(valid ? 1 : 0);
    m_path = full;
    m_title = full.filename().string();
    if (!valid) {
        return {DocumentResult::Kind::Corrupted,
                Format("The data in file %s is corrupted!", full.string()), kReadCaption};
    }
    return {};
}

DocumentResult CodeplugDocument::Save() {
    if (m_path.empty()) return {DocumentResult::Kind::NoPath, {}, {}};
    return SaveAs(m_path);
}

DocumentResult CodeplugDocument::SaveAs(const std::filesystem::path& path) {
    const std::filesystem::path full = Absolute(path);
    const CDatFile::WriteResult written = CDatFile::Write(full, m_codeplug);
    if (!written.ok) {
        return {DocumentResult::Kind::WriteFailed,
                Format("Unable to save the file %s: %s.", full.string(), written.error),
                "Save File"};
    }
    m_path = full;
    m_title = full.filename().string();
    return {};
}

void CodeplugDocument::Clear() {
    m_codeplug = CCodeplug{};
    m_path.clear();
    m_title = kUntitled;
}
