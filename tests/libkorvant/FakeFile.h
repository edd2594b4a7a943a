#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace korvant::testing {

// A file on the fake machine's disk. Its bytes live in an anonymous memory
// file, so that every view of it is a real shared mapping of its own: a
// write through one view is seen at once through every other, and what is
// written to the file while a view is mapped shows in the view.
class FakeFile {
public:
    FakeFile();
    explicit FakeFile(const std::vector<std::uint8_t>& bytes);
    ~FakeFile();
    FakeFile(const FakeFile&) = delete;
    FakeFile& operator=(const FakeFile&) = delete;

    std::uint64_t Size() const;
    std::vector<std::uint8_t> Bytes() const;
    void Write(std::uint64_t offset, const void* data, std::size_t size);
    // Windows refuses to change the length of a file while a view of it is
    // mapped (the views would reach past its end): false then.
    bool Resize(std::uint64_t size);
    int Descriptor() const { return fd_; }

    // Views mapped now, by any process.
    std::atomic<int> views{0};
    // The user who made the file.
    std::string owner = "user";

private:
    int fd_ = -1;
};

}  // namespace korvant::testing
