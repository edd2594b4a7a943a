#pragma once
// Numbers as the program prints them: printf formats with a "." decimal
// point, whatever locale the process runs under (a desktop program takes
// its locale from the environment).
#include <string>

// printf of one double with a "." decimal point in any locale.
std::string FormatDouble(const char* format, double value);
