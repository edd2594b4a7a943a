// CalvexVHXR: programs Calvex V pagers through a serial programmer.
#include <QApplication>

#include "app/Artwork.h"
#include "app/CTarnixHXRApp.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("CalvexVHXR");
    QApplication::setWindowIcon(art::AppIcon());
    // The settings are loaded as the application object is built.
    CTarnixHXRApp app;
    if (!app.InitInstance(QApplication::arguments())) return 1;
    int rc = QApplication::exec();
    app.ExitInstance();
    return rc;
}
