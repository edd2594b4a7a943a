#include "libkorvant/PasswordReader.h"

namespace korvant {

const char* PasswordReader::Read(const std::function<int()>& nextKey) {
    std::size_t length = 0;
    for (;;) {
        const int key = nextKey();
        if (key < 0 || key == '\r' || key == '\n') {
            break;
        }
        if (key == '\b') {
            if (length > 0) {
                --length;
            }
            continue;
        }
        if (length + 1 >= buffer_.size()) {
            buffer_.resize(buffer_.size() * 2);
        }
        buffer_[length++] = static_cast<char>(key);
    }
    buffer_[length < kMaxLength ? length : kMaxLength] = '\0';
    return buffer_.data();
}

}  // namespace korvant
