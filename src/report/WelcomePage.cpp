#include "report/WelcomePage.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

WelcomePage MakeWelcomePage(const std::string& productDir, const std::string& archiveFolder) {
    WelcomePage page;
    page.texts = {
        {0, 0, "Welcome to Corvane Calvex V HXR!"},
        {0, 20, "In order to view or modify pager configuration,"},
        {0, 36, "please read the codeplug data first!"},
        {0, 65, "You can read the codeplug data from"},
        {20, 85, "1) a pager through programmer"},
        {35, 101, "by selecting Operation - Read Pager (F3)"},
        {20, 120, "2) an archived file under  --"},
        {35, 136, productDir + archiveFolder},
        {35, 152, "by selecting File - Open"},
    };
    return page;
}

void DrawWelcomeTexts(ReportCanvas& canvas, const WelcomePage& page) {
    for (const WelcomeText& t : page.texts) canvas.DrawText(t.x, t.y, t.text);
}

std::string ArchiveFolderName(const std::string& productDir) {
#ifdef _WIN32
    (void)productDir;
    return "Lib";
#else
    namespace fs = std::filesystem;
    if (productDir.empty()) return "lib";
    std::error_code ec;
    const fs::path dir(productDir);
    if (fs::is_directory(dir / "lib", ec)) return "lib";
    // A folder copied from Windows may be spelt "Lib" or "LIB".
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::string name = entry.path().filename().string();
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower == "lib" && entry.is_directory(ec)) return name;
    }
    return "lib";
#endif
}
