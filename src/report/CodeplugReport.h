#pragma once
// Every text of the printed codeplug report, decoded once, ready to be laid
// out on a canvas (ReportLayout).
#include <array>
#include <string>
#include <vector>

struct ReportLabelValue {
    std::string label;
    std::string value;
};

struct ReportCallRow {
    std::string tone1;  // "" when the slot is empty
    std::string tone2;
    std::string sequence;  // C/S
    std::string alert;
    std::string duty;
};

struct ReportChannel {
    std::string frequency;     // "%.4f MHz"
    std::string codingOption;  // name, "" for a value without one
    std::string duty;          // "Enabled" / "Disabled"
    std::array<ReportCallRow, 12> calls;
};

struct ReportSwitch {
    std::string wideBand;
    std::string mode;
    std::string alertType;
    std::string duty;
    std::string ptl;
};

struct ReportAdvancedRow {
    std::string label;  // "SCAN_BACK:"
    std::string value;  // "%d"
    std::string range;  // "(Rnd 8~255, Inc 8ms)"
};

// A heading ("~ Battery Settings: ~") followed by its rows.
struct ReportAdvancedGroup {
    std::string heading;
    std::vector<ReportAdvancedRow> rows;
};

struct CodeplugReport {
    std::string path;  // full path of the document's file

    std::string model;
    std::string serial;
    std::string subBand;
    std::string plugVersion;
    std::string pagerVersion;
    std::string ifText;
    std::string crystal;
    std::string system;
    std::string injection;

    std::array<ReportChannel, 2> channels;  // F1, F2

    std::vector<ReportLabelValue> modelOptions;  // "SV FUNCTION:" ... "SQUELCH LEVEL:"
    std::array<ReportSwitch, 4> switches;        // SW-A ... SW-D

    bool engineer = false;  // draw the advanced block
    std::vector<ReportAdvancedGroup> advancedLeft;   // the tone settings
    std::vector<ReportAdvancedGroup> advancedRight;  // other, battery, squelch settings
};
