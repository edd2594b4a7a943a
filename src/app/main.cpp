// CalvexVHXR: programs Calvex V pagers through a serial programmer.
#include <QApplication>
#include <cstdio>

#include "app/Artwork.h"
#include "app/CTarnixHXRApp.h"
#include "app/ProgramUsage.h"
#include "link/SerialPort.h"

int main(int argc, char** argv) {
    // Answered before Qt starts, so they work without a display.
    if (const std::string answer = EarlyAnswer(argc, argv); !answer.empty()) {
        std::fputs(answer.c_str(), stdout);
        return 0;
    }
    QApplication qapp(argc, argv);
    // Ctrl+C or a kill in the middle of a transfer still frees the line.
    ReleasePortsOnSignals();
    QApplication::setApplicationName("CalvexVHXR");
    QApplication::setWindowIcon(art::AppIcon());
    // The settings are loaded as the application object is built.
    CTarnixHXRApp app;
    if (!app.InitInstance(QApplication::arguments())) return 1;
    int rc = QApplication::exec();
    app.ExitInstance();
    return rc;
}
