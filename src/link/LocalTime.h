#pragma once
// A moment as the machine's local time, in strftime's format.
#include <chrono>
#include <string>

std::string LocalTimeText(std::chrono::system_clock::time_point when, const char* format);
