#include "app/CommandTable.h"

#include "app/CommandIds.h"

namespace cmd {

const std::vector<CommandInfo>& Commands() {
    static const std::vector<CommandInfo> table = {
        {ID_SYSTEM_SETUP, "Setup the serial communication port\nSystem Setup", Enable::Always},
        {ID_ENGINEER_LOGON,
         "Logon as engineer user to be able to view/modify codeplug engineer data\nEngineer Logon",
         Enable::Always},
        {ID_READ_PAGER, "Read codeplug from pager\nRead Codeplug From a Pager", Enable::Always},
        {ID_WRITE_PAGER, "Write the codeplug to pager\nWrite Codeplug to a Pager",
         Enable::DataValid},
        {ID_PROGRAM_FLEET,
         "Program many pagers with the current codeplug and a roster of their own values\n"
         "Program Fleet",
         Enable::DataValid},
        {ID_USER_DATA, "View/modify user data\nView User Data", Enable::DataValid},
        {ID_ENGINEER_DATA, "View/modify engineer data\nView Engineer Data",
         Enable::EngineerDataValid},
        {ID_FALSING_ALERT, "", Enable::DataValid},
        {ID_USB_DELAY, "", Enable::Always},
        {ID_FILE_OPEN, "Open an existing document\nOpen a Codeplug Data File", Enable::Always},
        {ID_FILE_SAVE, "Save the active document\nSave Current Codeplug to the File",
         Enable::DataValid},
        {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As", Enable::DataValid},
        {ID_FILE_PRINT, "Print the active document\nPrint", Enable::DataValid},
        {ID_FILE_PRINT_DIRECT, "Print the active document\nPrint", Enable::DataValid},
        {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview", Enable::DataValid},
        {ID_APP_ABOUT, "", Enable::Always},
        {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit", Enable::Always},
        {ID_HELP_FINDER, "List Help topics\nHelp Topics", Enable::Always},
        {ID_CONTEXT_HELP, "Display help for clicked on buttons, menus and windows\nHelp",
         Enable::Always},
        {ID_HELP, "Display help for current task or command\nHelp", Enable::Always},
        {ID_DEFAULT_HELP, "Display help for current task or command\nHelp", Enable::Always},
        {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar", Enable::Always},
        {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar", Enable::Always},
    };
    return table;
}

const CommandInfo* FindCommand(int id) {
    for (const auto& c : Commands())
        if (c.id == id) return &c;
    return nullptr;
}

std::string StatusText(int id) {
    const CommandInfo* c = FindCommand(id);
    if (!c) return {};
    return c->prompt.substr(0, c->prompt.find('\n'));
}

std::string ToolTipText(int id) {
    const CommandInfo* c = FindCommand(id);
    if (!c) return {};
    auto nl = c->prompt.find('\n');
    return nl == std::string::npos ? std::string{} : c->prompt.substr(nl + 1);
}

bool IsEnabled(int id, bool dataValid, bool engineer) {
    const CommandInfo* c = FindCommand(id);
    if (!c) return true;
    switch (c->rule) {
        case Enable::Always:
            return true;
        case Enable::DataValid:
            return dataValid;
        case Enable::EngineerDataValid:
            return engineer && dataValid;
    }
    return false;
}

}  // namespace cmd
