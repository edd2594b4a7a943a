#pragma once
// The program's serial link behind the PagerLink the view talks to.
#include <memory>

#include "app/PagerLink.h"

// The one link of the program: settings loaded from the product directory
// now, saved by SaveSettings().
std::unique_ptr<PagerLink> MakePagerLink();
