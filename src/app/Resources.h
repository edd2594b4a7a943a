#pragma once
// Resource numbers of the program's pictures and dialogs.
namespace art {

enum : int {
    IDB_ABOUT = 149,
    IDB_LOGO = 163,
    IDB_FAILED = 171,   // red disc, white cross
    IDB_SUCCESS = 173,  // orange disc, white tick
    IDB_RUNNING = 174,  // red disc, white bar
};

}  // namespace art
