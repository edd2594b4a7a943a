#include "link/PagerBackups.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "codeplug/CSerialNumber.h"
#include "document/CDatFile.h"
#include "link/LocalTime.h"

namespace fs = std::filesystem;

namespace {

// "YYYYMMDD-HHMMSS" and an optional "-N": the part of a backup's name after
// "<serial>-". False for names that are not a backup's.
bool ParseStamp(const std::string& rest, std::string& stamp, int& number) {
    constexpr std::size_t kStamp = 15;
    if (rest.size() < kStamp) return false;
    for (std::size_t i = 0; i < kStamp; ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(rest[i])) != 0;
        if (i == 8 ? rest[i] != '-' : !digit) return false;
    }
    stamp = rest.substr(0, kStamp);
    number = 1;
    if (rest.size() == kStamp) return true;
    if (rest[kStamp] != '-' || rest.size() == kStamp + 1 || rest.size() > kStamp + 6) return false;
    number = 0;
    for (std::size_t i = kStamp + 1; i < rest.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(rest[i]))) return false;
        number = number * 10 + (rest[i] - '0');
    }
    return true;
}

}  // namespace

std::string PagerBackups::SerialPart(const Image& block) {
    CSerialNumber serial;
    CCodeplug plug;
    plug.SetImage(block);
    serial.Load(plug);
    std::string text = serial.SerialText();
    bool any = false;
    for (char& c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80) {
            any = true;
        } else {
            c = '_';
        }
    }
    return any ? text : std::string("unknown");
}

std::string PagerBackups::BaseName(const std::string& serial,
                                   std::chrono::system_clock::time_point when) {
    return serial + "-" + LocalTimeText(when, "%Y%m%d-%H%M%S");
}

PagerBackups::Result PagerBackups::Save(const Image& block,
                                        std::chrono::system_clock::time_point when) {
    Result result;
    if (m_folder.empty()) {
        result.error = "there is no data directory to keep the backup in";
        return result;
    }
    const fs::path folder = fs::path(m_folder);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) {
        // "File exists" would not say which file is in the way.
        std::error_code probe;
        const fs::path named = folder.has_filename() ? folder : folder.parent_path();
        const bool inTheWay = fs::exists(named, probe) && !fs::is_directory(named, probe);
        result.error = "cannot create the backup folder " + m_folder +
                       (inTheWay ? std::string(" (a file of that name is in the way)")
                        : ec     ? " (" + ec.message() + ")"
                                 : std::string(" (not a folder)"));
        return result;
    }
    const std::string serial = SerialPart(block);
    const std::string base = BaseName(serial, when);
    fs::path path = folder / (base + ".dat");
    for (int n = 2; fs::exists(path, ec) && n < 100000; ++n) {
        path = folder / (base + "-" + std::to_string(n) + ".dat");
    }
    const CDatFile::WriteResult written = CDatFile::Write(path, block);
    if (!written.ok) {
        result.error = "cannot write the backup " + path.string() + " (" + written.error + ")";
        return result;
    }
    // Read it back: a backup that would not restore the pager is no backup.
    const CDatFile::ReadResult check = CDatFile::Read(path);
    if (!check.ok || check.parsed.valuesRead != layout::IMAGE_SIZE || check.parsed.image != block) {
        fs::remove(path, ec);
        result.error = "the backup " + path.string() + " did not read back as written";
        return result;
    }
    result.ok = true;
    result.path = path.string();
    Prune(serial);
    return result;
}

std::vector<std::string> PagerBackups::List(const std::string& serial) const {
    std::vector<std::tuple<std::string, int, std::string>> found;
    std::error_code ec;
    const std::string prefix = serial + "-";
    for (fs::directory_iterator it(fs::path(m_folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const fs::path& p = it->path();
        if (p.extension() != ".dat") continue;
        const std::string stem = p.stem().string();
        if (stem.compare(0, prefix.size(), prefix) != 0) continue;
        std::string stamp;
        int number = 0;
        if (!ParseStamp(stem.substr(prefix.size()), stamp, number)) continue;
        if (!it->is_regular_file(ec)) continue;
        found.emplace_back(stamp, number, p.string());
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (auto& f : found) paths.push_back(std::move(std::get<2>(f)));
    return paths;
}

void PagerBackups::Prune(const std::string& serial) const {
    const std::vector<std::string> all = List(serial);
    if (all.size() <= kKeepPerPager) return;
    std::error_code ec;
    for (std::size_t i = 0; i + kKeepPerPager < all.size(); ++i) fs::remove(fs::path(all[i]), ec);
}
