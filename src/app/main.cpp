// CalvexVHXR: programs Calvex V pagers through a serial programmer.
#include <QApplication>

#include "app/Artwork.h"
#include "app/CTarnixHXRApp.h"
#include "link/SerialPort.h"

int main(int argc, char** argv) {
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
