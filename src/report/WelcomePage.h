#pragma once
// The page the screen shows: fixed texts and the logo at pixel positions.
#include <string>
#include <vector>

#include "report/ReportCanvas.h"

struct WelcomeText {
    int x;
    int y;
    std::string text;
};

struct WelcomePage {
    std::vector<WelcomeText> texts;  // in drawing order
    int logoX = 400;                 // the logo is copied at its own size
    int logoY = 40;
};

// The page for a product directory (the "ProductDir" setting, expected to
// end in a path separator; "" when it is not set): its archive line is the
// directory followed by the archive folder's name.
WelcomePage MakeWelcomePage(const std::string& productDir,
                            const std::string& archiveFolder = "Lib");

// The name of the folder below the product directory that holds the
// settings and the archived codeplugs, as the user finds it: "Lib" on
// Windows, whose file names ignore case. Elsewhere the spelling of the
// folder on disk, "lib" (where the settings are written) when there is none.
std::string ArchiveFolderName(const std::string& productDir);

// Draws the texts; the logo is the caller's, at (logoX, logoY).
void DrawWelcomeTexts(ReportCanvas& canvas, const WelcomePage& page);
