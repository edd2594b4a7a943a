#include "libkorvant/ErrnoMap.h"

#include <iterator>

namespace korvant {

namespace {

struct ErrorPair {
    unsigned long win32;
    int errnoValue;
};

// The runtime library's table; the first match wins.
constexpr ErrorPair kTable[] = {
    {1, 22},   {2, 2},    {3, 2},    {4, 24},    {5, 13},   {6, 9},   {7, 12},   {8, 12},
    {9, 12},   {10, 7},   {11, 8},   {12, 22},   {13, 22},  {15, 2},  {16, 13},  {17, 18},
    {18, 2},   {33, 13},  {53, 2},   {65, 13},   {67, 2},   {80, 17}, {82, 13},  {83, 13},
    {87, 22},  {89, 11},  {108, 13}, {109, 32},  {112, 28}, {114, 9}, {128, 10}, {129, 10},
    {130, 9},  {131, 22}, {132, 13}, {145, 41},  {158, 13}, {161, 2}, {164, 11}, {167, 13},
    {183, 17}, {206, 2},  {215, 11}, {1816, 12},
};

}  // namespace

int Win32ErrorToErrno(unsigned long error) {
    if (error == 0) {
        return 0;
    }
    for (const ErrorPair& pair : kTable) {
        if (pair.win32 == error) {
            return pair.errnoValue;
        }
    }
    if (error >= 19 && error <= 36) {  // write-protect .. sharing-buffer errors
        return kEACCES;
    }
    if (error >= 188 && error <= 202) {  // executable-format errors
        return 8;                        // ENOEXEC
    }
    return kEINVAL;
}

}  // namespace korvant
