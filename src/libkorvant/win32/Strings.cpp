#include "libkorvant/win32/Strings.h"

#include <windows.h>

namespace korvant::win32 {

namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int n =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(n > 0 ? n : 0, L'\0');
    if (n > 0) {
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(),
                            n);
    }
    return result;
}

std::string FromWide(UINT codePage, const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string result(n > 0 ? n : 0, '\0');
    if (n > 0) {
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(),
                            n, nullptr, nullptr);
    }
    return result;
}

}  // namespace

std::wstring Utf8ToWide(const std::string& text) {
    return ToWide(CP_UTF8, text);
}
std::string WideToUtf8(const std::wstring& text) {
    return FromWide(CP_UTF8, text);
}
std::wstring AnsiToWide(const std::string& text) {
    return ToWide(CP_ACP, text);
}
std::string WideToAnsi(const std::wstring& text) {
    return FromWide(CP_ACP, text);
}

}  // namespace korvant::win32
