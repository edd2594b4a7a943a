#include "libkorvant/FakeFile.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace korvant::testing {

FakeFile::FakeFile() : fd_(memfd_create("fake-file", MFD_CLOEXEC)) {
    if (fd_ < 0) {
        std::abort();  // no test of the shared cache can run without it
    }
}

FakeFile::FakeFile(const std::vector<std::uint8_t>& bytes) : FakeFile() {
    Resize(bytes.size());
    Write(0, bytes.data(), bytes.size());
}

FakeFile::~FakeFile() {
    close(fd_);
}

std::uint64_t FakeFile::Size() const {
    struct stat st {};
    return fstat(fd_, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

std::vector<std::uint8_t> FakeFile::Bytes() const {
    std::vector<std::uint8_t> bytes(Size());
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return bytes;
}

void FakeFile::Write(std::uint64_t offset, const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd_, p + done, size - done, static_cast<off_t>(offset + done));
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
}

bool FakeFile::Resize(std::uint64_t size) {
    if (views.load() > 0) {
        return false;
    }
    return ftruncate(fd_, static_cast<off_t>(size)) == 0;
}

}  // namespace korvant::testing
