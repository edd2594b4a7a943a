#pragma once
// Command ids of the menu, toolbar, accelerators and the view's command table.
namespace cmd {

enum : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_INDEX = 57666,
    ID_HELP_FINDER = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_DEFAULT_HELP = 57671,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,

    ID_SYSTEM_SETUP = 32773,
    ID_ENGINEER_LOGON = 32774,
    ID_READ_PAGER = 32775,
    ID_WRITE_PAGER = 32776,
    ID_USER_DATA = 32777,
    ID_ENGINEER_DATA = 32778,
    ID_FALSING_ALERT = 32785,
    ID_USB_DELAY = 32787,
    ID_PROGRAM_FLEET = 32790,
};

// Messages the transfer thread posts to the view.
enum : int {
    WM_USER = 0x400,
    WM_PAGER_WRITE_OK = WM_USER + 500,
    WM_PAGER_WRITE_FAILED = WM_USER + 501,
    WM_PAGER_READ_OK = WM_USER + 502,
    WM_PAGER_READ_FAILED = WM_USER + 503,
};

}  // namespace cmd
