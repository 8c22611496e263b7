// Where the page resource tests read the page library's resources from:
// the compiled .res file, or the resource tree of the shipped DLL. The same
// checks run on both, so the DLL is known to carry what the script made.
#pragma once

#include <string>
#include <vector>

#include "tests/image/res_file.h"

// false with error set when the source cannot be read.
bool readPageResources(std::vector<res::Resource>* resources, std::string* error);
