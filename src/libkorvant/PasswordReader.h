#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace korvant {

// The line editing of getpass: keys until Enter, backspace deletes, the
// buffer doubles as needed and is reused by the next call; the answer is
// cut to the 8 characters a classic password holds.
class PasswordReader {
public:
    static constexpr std::size_t kInitialSize = 1024;
    static constexpr std::size_t kMaxLength = 8;

    // nextKey returns the next key typed, or a negative value at the end of input.
    const char* Read(const std::function<int()>& nextKey);
    std::size_t Capacity() const { return buffer_.size(); }

private:
    std::vector<char> buffer_ = std::vector<char>(kInitialSize);
    // The last line ended with CR: an LF first in the next call belongs to it.
    bool afterCr_ = false;
};

}  // namespace korvant
