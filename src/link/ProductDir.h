#pragma once
// Where the program's installation directory ("ProductDir") is, and the
// settings file below it.
#include <string>

// Windows: the registry value "ProductDir" of HKEY_LOCAL_MACHINE
// "SOFTWARE\Corvane\Calvex V HXR" (at most 255 characters); when it is
// missing or too long, the folder of the program itself.
// Elsewhere: $CALVEX_PRODUCT_DIR when set, else $XDG_DATA_HOME/CalvexVHXR/,
// else ~/.local/share/CalvexVHXR/. Empty when none can be found. Outside
// Windows the result always ends with "/".
std::string ProductDir();

// ProductDir() + "lib\CalvexV.ini" ("lib/CalvexV.ini" outside Windows);
// empty when there is no product directory.
std::string DefaultSettingsPath();

// The settings file path below a given product directory. On Windows the
// two are joined as they are (the registry value carries its own final
// backslash); elsewhere a missing "/" is put in between.
std::string SettingsPathIn(const std::string& productDir);

// Where the backups of the pagers' contents go: "backups" beside "lib" in the
// product directory (with a final separator); empty when there is none.
std::string BackupFolderIn(const std::string& productDir);
// The backup folder of this user. Windows: "CalvexVHXR\backups" in the
// user's %LOCALAPPDATA% (a program installed under Program Files cannot write
// beside itself, and one user's backups are no business of the next); empty
// when that folder cannot be found. Elsewhere: below the product directory,
// which is per user already.
std::string DefaultBackupFolder();
