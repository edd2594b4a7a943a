#include "report/WelcomePage.h"

WelcomePage MakeWelcomePage(const std::string& productDir) {
    WelcomePage page;
    page.texts = {
        {0, 0, "Welcome to Corvane Calvex V HXR!"},
        {0, 20, "In order to view or modify pager configuration,"},
        {0, 36, "please read the codeplug data first!"},
        {0, 65, "You can read the codeplug data from"},
        {20, 85, "1) a pager through programmer"},
        {35, 101, "by selecting Operation - Read Pager (F3)"},
        {20, 120, "2) an archived file under  --"},
        {35, 136, productDir + "Lib"},
        {35, 152, "by selecting File - Open"},
    };
    return page;
}

void DrawWelcomeTexts(ReportCanvas& canvas, const WelcomePage& page) {
    for (const WelcomeText& t : page.texts) canvas.DrawText(t.x, t.y, t.text);
}
