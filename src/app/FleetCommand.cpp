#include "app/FleetCommand.h"

#include "app/CMainFrame.h"
#include "app/CTarnixHXRApp.h"
#include "app/CTarnixHXRView.h"
#include "app/CommandIds.h"
#include "app/FleetWindow.h"

void InstallFleetCommand(CTarnixHXRApp& app) {
    CMainFrame& frame = *app.Frame();
    frame.View().SetCommandHandler(cmd::ID_PROGRAM_FLEET, [&app, &frame] {
        FleetWindow* window = FindFleetWindow(app);
        if (!window) {
            window = new FleetWindow(app.Document(), app.Link(), &frame);
            window->SetRosterChooser(
                [&app] { return app.ChooseOpenFile("Open Roster", "Rosters (*.csv)"); });
        }
        window->Open();
    });
}

FleetWindow* FindFleetWindow(CTarnixHXRApp& app) {
    return app.Frame()->findChild<FleetWindow*>("fleetWindow", Qt::FindDirectChildrenOnly);
}
