#pragma once
// What a fleet run needs of the serial link: reading a pager and a normal
// write (identity check, the pager's own serial number and codeplug version
// kept, its previous contents backed up before anything is sent). Both wait
// until the transfer has ended.
#include <string>

#include "codeplug/CCodeplug.h"

class FleetLink {
public:
    virtual ~FleetLink() = default;

    virtual std::string PortName() const = 0;

    // The pager's 512 bytes (byte 511 its firmware version); false, with
    // the reason, when the read failed.
    virtual bool ReadPager(Image& block, std::string& why) = 0;

    struct Written {
        bool ok = false;
        std::string why;     // when not ok
        std::string brief;   // the same in a few words
        std::string backup;  // the file that keeps what the pager held, "" when none
    };
    // Afterwards `plug` holds what was sent: its image with the pager's kept
    // bytes.
    virtual Written WritePager(CCodeplug& plug) = 0;
};
