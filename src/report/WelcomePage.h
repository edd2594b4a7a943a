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
    int logoX = 400;  // the logo is copied at its own size
    int logoY = 40;
};

// The page for a product directory (the "ProductDir" setting, expected to
// end in a path separator; "" when it is not set): its archive line is the
// directory followed by "Lib".
WelcomePage MakeWelcomePage(const std::string& productDir);

// Draws the texts; the logo is the caller's, at (logoX, logoY).
void DrawWelcomeTexts(ReportCanvas& canvas, const WelcomePage& page);
