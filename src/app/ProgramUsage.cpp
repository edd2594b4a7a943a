#include "app/ProgramUsage.h"

#include <cstring>

#include "Version.h"

namespace {

const char* const kAbout =
    "CalvexVHXR - Calvex V Two Tone Pager Programming Software\n"
    "Usage: CalvexVHXR [OPTIONS] [FILE.dat]\n"
    "\n"
    "Reads the codeplug of a Calvex V pager through a programmer on a serial port\n"
    "(1200 baud), edits it on the User Data sheet, keeps it in .dat files, prints a\n"
    "report of it and writes it back into the pager. FILE.dat, when given, is opened\n"
    "as by File > Open; a file that cannot be read ends the program with a message.\n"
    "F1 or Help > Help Topics opens the user guide.\n"
    "\n";

const char* const kPlatform =
#ifndef _WIN32
    "Options:\n"
    "  --port PORT                 use this port for this run and keep it in the settings:\n"
    "                              COM1..COM64 or a device path such as /dev/ttyUSB0\n"
    "  --engineer                  show the Engineer menu (Engineer Logon, Engineer Data)\n"
    "  -h,--help                   print this help and exit\n"
    "  --version                   print the version and exit\n"
    "  -platform NAME              Qt's display platform (xcb, wayland, offscreen); Qt's\n"
    "                              other standard options are taken as well\n"
    "\n"
    "Data directory:\n"
    "The settings, the archive folder and the backups are kept in the data directory:\n"
    "$CALVEX_PRODUCT_DIR when it is set, else $XDG_DATA_HOME/CalvexVHXR/, else\n"
    "~/.local/share/CalvexVHXR/. It is made when first needed; nothing is written\n"
    "beside the program.\n"
    "\n"
    "Files:\n"
    "  DATADIR/lib/CalvexV.ini     the port (CommPort = ...) and the USB delay in ms\n"
    "                              (USBDelay = ...); read at start, written at exit\n"
    "  DATADIR/lib/                where File > Open and Save As start the first time\n"
    "  DATADIR/backups/            what a pager held before each write, as\n"
    "                              SERIAL-YYYYMMDD-HHMMSS.dat; the newest 50 of each pager\n"
    "                              are kept\n"
    "  PREFIX/share/calvex-vhxr/help/index.html\n"
    "                              the user guide (beside the program in a build tree)\n"
    "  PREFIX/share/calvex-vhxr/samples/\n"
    "                              sample codeplugs\n"
    "\n"
    "Environment:\n"
    "  CALVEX_PRODUCT_DIR          the data directory\n"
    "  XDG_DATA_HOME               where the data directory is when CALVEX_PRODUCT_DIR is\n"
    "                              not set (default ~/.local/share)\n"
    "  CALVEX_COMn                 the device that COMn opens, e.g. CALVEX_COM3=/dev/ttyUSB0;\n"
    "                              without it COMn opens /dev/ttyS<n-1>\n"
    "  CALVEX_PAGERSIM_LINK        the pager simulator's link that System Setup offers\n"
    "                              (default $XDG_RUNTIME_DIR/calvex-pagersim)\n"
    "  QT_QPA_PLATFORM             Qt's display platform, as -platform\n"
    "\n"
    "Exit status:\n"
    "  0                           the program was closed\n"
    "  1                           FILE.dat could not be read\n"
    "\n"
    "Serial ports:\n"
    "Serial devices belong to the dialout group. Without it a transfer fails and the\n"
    "status bar says so; fix it once with 'sudo usermod -aG dialout $USER' and log in\n"
    "again. System Setup lists USB-serial adapters (/dev/serial/by-id/...) after COM1\n"
    "to COM64.\n"
#else
    "Options:\n"
    "  --port PORT                 use this port for this run and keep it in the settings:\n"
    "                              COM1..COM64 (COM10 and up as well)\n"
    "  --engineer                  show the Engineer menu (Engineer Logon, Engineer Data)\n"
    "  -h,--help                   show this help and exit\n"
    "  --version                   show the version and exit\n"
    "  -platform NAME              Qt's display platform (windows, offscreen); Qt's\n"
    "                              other standard options are taken as well\n"
    "\n"
    "Files:\n"
    "  PRODUCTDIR\\lib\\CalvexV.ini  the port (CommPort = ...) and the USB delay in ms\n"
    "                              (USBDelay = ...); read at start, written at exit.\n"
    "                              PRODUCTDIR is the registry value ProductDir of\n"
    "                              HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Calvex V HXR\n"
    "                              (set by the installer), else the program's folder\n"
    "  PRODUCTDIR\\lib\\             where File > Open and Save As start the first time\n"
    "  %LOCALAPPDATA%\\CalvexVHXR\\backups\\\n"
    "                              what a pager held before each write, as\n"
    "                              SERIAL-YYYYMMDD-HHMMSS.dat; the newest 50 of each pager\n"
    "                              are kept\n"
    "  help\\index.html             the user guide, beside the program\n"
    "  samples\\                    sample codeplugs, beside the program\n"
    "\n"
    "Exit status:\n"
    "  0                           the program was closed\n"
    "  1                           FILE.dat could not be read\n"
    "\n"
    "Serial ports:\n"
    "System Setup marks the COM ports this computer has with their adapter's name.\n"
#endif
    ;

}  // namespace

std::string ProgramUsage() {
    return std::string(kAbout) + kPlatform;
}

std::string ProgramVersion() {
    return std::string("CalvexVHXR ") + CALVEX_VERSION +
           " (Calvex V Two Tone Pager Programming Software)\n";
}

std::string EarlyAnswer(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h"))
            return ProgramUsage();
        if (!std::strcmp(argv[i], "--version")) return ProgramVersion();
        // The value of --port is a name, never an option.
        if (!std::strcmp(argv[i], "--port")) ++i;
    }
    return {};
}
