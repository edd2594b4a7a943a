// CalvexVHXR: programs Calvex V pagers through a serial programmer.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "app/Artwork.h"
#include "app/CTarnixHXRApp.h"
#include "app/ProgramUsage.h"
#include "link/SerialPort.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Whether what is printed goes anywhere: a Windows program without a console
// has no standard output unless it was redirected.
bool HasStandardOutput() {
#ifdef _WIN32
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    return out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN;
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so they work without a display.
    if (const std::string answer = EarlyAnswer(argc, argv); !answer.empty()) {
        if (!HasStandardOutput()) {
            // A window program started from Explorer or cmd has no console.
            QApplication qapp(argc, argv);
            QMessageBox::information(nullptr, "Calvex V HXR", QString::fromStdString(answer));
            return 0;
        }
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
