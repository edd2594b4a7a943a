#pragma once
// Where the user guide lies, wherever the program was put: beside the
// program (the build tree, a Windows installation folder) or in the data
// folder of an installed prefix (PREFIX/bin/CalvexVHXR and
// PREFIX/share/calvex-vhxr/help/). Found relative to the program, so an
// installed tree still finds its own guide after it is moved.
#include <string>

// The guide's index.html for a program in `programDir`, as an absolute
// normalised path; "" when there is none.
std::string FindUserGuide(const std::string& programDir);
