#include "app/HelpLocation.h"

#include <filesystem>
#include <system_error>

#ifndef CALVEX_GUIDE_FROM_PROGRAM
// The data folder's guide as seen from the program's folder; the build sets
// it from the install directories it was configured with.
#define CALVEX_GUIDE_FROM_PROGRAM "../share/calvex-vhxr/help"
#endif

std::string FindUserGuide(const std::string& programDir) {
    namespace fs = std::filesystem;
    if (programDir.empty()) return {};
    const fs::path dir(programDir);
    for (const fs::path& folder : {dir / "help", dir / CALVEX_GUIDE_FROM_PROGRAM}) {
        const fs::path guide = folder / "index.html";
        std::error_code ec;
        if (!fs::is_regular_file(guide, ec)) continue;
        fs::path full = fs::weakly_canonical(fs::absolute(guide, ec), ec);
        if (ec) full = fs::absolute(guide).lexically_normal();
        return full.string();
    }
    return {};
}
