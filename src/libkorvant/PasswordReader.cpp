#include "libkorvant/PasswordReader.h"

namespace korvant {

const char* PasswordReader::Read(const std::function<int()>& nextKey) {
    std::size_t length = 0;
    bool first = true;
    for (;;) {
        const int key = nextKey();
        if (first && afterCr_ && key == '\n') {
            first = false;
            continue;
        }
        first = false;
        if (key < 0 || key == '\r' || key == '\n') {
            afterCr_ = key == '\r';
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
