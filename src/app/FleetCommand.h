#pragma once
// Operation > Program Fleet...: the window that programs many pagers with the
// current codeplug as the template and a roster of each pager's own values.

class CTarnixHXRApp;
class FleetWindow;

// Registers the command's handler on the frame's view.
void InstallFleetCommand(CTarnixHXRApp& app);
// The window, once the command has opened it (null before).
FleetWindow* FindFleetWindow(CTarnixHXRApp& app);
