#include "document/CDatFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace {

// A character source with one character of lookahead; Peek() and Bump()
// return -1 at the end of the input.
class MemorySource {
public:
    MemorySource(const void* data, std::size_t size)
        : m_p(static_cast<const unsigned char*>(data)), m_end(m_p + size) {}
    int Peek() const { return m_p < m_end ? *m_p : -1; }
    int Bump() { return m_p < m_end ? *m_p++ : -1; }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
};

class StreamSource {
public:
    explicit StreamSource(std::istream& in) : m_buf(in.rdbuf()) {}
    int Peek() { return m_buf ? Norm(m_buf->sgetc()) : -1; }
    int Bump() { return m_buf ? Norm(m_buf->sbumpc()) : -1; }

private:
    static int Norm(std::streambuf::int_type c) {
        return c == std::streambuf::traits_type::eof() ? -1 : static_cast<unsigned char>(c);
    }
    std::streambuf* m_buf;
};

class FileSource {
public:
    explicit FileSource(std::FILE* f) : m_file(f) {}
    int Peek() {
        if (m_ahead == kNone) m_ahead = std::getc(m_file);
        return m_ahead == EOF ? -1 : m_ahead;
    }
    int Bump() {
        const int c = Peek();
        m_ahead = kNone;
        return c;
    }

private:
    static constexpr int kNone = -2;
    std::FILE* m_file;
    int m_ahead = kNone;
};

bool IsBlank(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int HexValue(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the hexadecimal number after a "$": leading blanks are skipped and
// a "0x" prefix is allowed. Only the low 8 bits are kept, so a number of any
// length takes no memory. False when no digit follows.
template <class Source>
bool ReadHexByte(Source& src, Byte& out) {
    while (IsBlank(src.Peek())) src.Bump();
    int digit = HexValue(src.Peek());
    if (digit < 0) return false;
    unsigned value = 0;
    if (src.Peek() == '0') {
        src.Bump();
        if (src.Peek() == 'x' || src.Peek() == 'X') src.Bump();
    }
    while ((digit = HexValue(src.Peek())) >= 0) {
        value = ((value << 4) | static_cast<unsigned>(digit)) & 0xFFu;
        src.Bump();
    }
    out = static_cast<Byte>(value);
    return true;
}

template <class Source>
CDatFile::Parsed ParseFrom(Source& src) {
    CDatFile::Parsed result;
    Byte last = 0;
    std::size_t k = 0;
    while (k < layout::IMAGE_SIZE) {
        int c;
        do {
            c = src.Bump();
        } while (IsBlank(c));
        if (c < 0) break;
        if (c != '$') continue;
        if (!ReadHexByte(src, last)) break;
        result.image[k++] = last;
    }
    result.valuesRead = k;
    for (; k < layout::IMAGE_SIZE; ++k) result.image[k] = last;
    return result;
}

// Opens a file by its full name: on Windows through the wide-character
// name, so names outside the ANSI code page work too.
std::FILE* OpenFile(const std::filesystem::path& path, bool write) {
#ifdef _WIN32
    return _wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

std::string SystemError(int err) {
    return std::generic_category().message(err);
}

}  // namespace

CDatFile::Parsed CDatFile::Parse(const void* data, std::size_t size) {
    MemorySource src(data, size);
    return ParseFrom(src);
}

CDatFile::Parsed CDatFile::Parse(std::istream& in) {
    StreamSource src(in);
    return ParseFrom(src);
}

CDatFile::Parsed CDatFile::Parse(std::FILE* file) {
    FileSource src(file);
    return ParseFrom(src);
}

std::string CDatFile::Format(const Image& image) {
    std::string text;
    text.reserve(kFileSize);
    char line[32];
    for (std::size_t i = 0; i < image.size(); ++i) {
        const int n = std::snprintf(line, sizeof line, "0x%03x: $%02X\n", static_cast<unsigned>(i),
                                    static_cast<unsigned>(image[i]));
        text.append(line, static_cast<std::size_t>(n));
    }
    return text;
}

bool CDatFile::IsValid(const Image& image) {
    Byte any = 0;
    for (std::size_t i = 0; i < layout::CHECKSUM_SPAN; ++i) any |= image[i];
    return any != 0 && CCodeplug::ComputeChecksum(image) == image[layout::CHECKSUM];
}

CDatFile::ReadResult CDatFile::Read(const std::filesystem::path& path) {
    ReadResult result;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) {
        result.error = ec.message();
        return result;
    }
    if (std::filesystem::is_directory(status)) {
        result.error = SystemError(EISDIR);
        return result;
    }
    if (!std::filesystem::is_regular_file(status)) {
        result.error = "not a regular file";
        return result;
    }
    errno = 0;
    std::FILE* file = OpenFile(path, false);
    if (!file) {
        result.error = SystemError(errno ? errno : EACCES);
        return result;
    }
    result.parsed = Parse(file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        result.error = SystemError(EIO);
        result.parsed = Parsed{};
        return result;
    }
    result.ok = true;
    return result;
}

CDatFile::WriteResult CDatFile::Write(const std::filesystem::path& target, const Image& image) {
    WriteResult result;
    std::error_code ec;
    // Replacing the file must not get round its protection, nor turn a link
    // into a file of its own: write where a link points, and leave a
    // read-only file alone as a direct write would.
    std::filesystem::path path = target;
    if (std::filesystem::is_symlink(target, ec)) {
        path = std::filesystem::weakly_canonical(target, ec);
        if (ec) path = target;
    }
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::is_directory(status)) {
        result.error = SystemError(EISDIR);
        return result;
    }
    if (std::filesystem::exists(status) &&
        (status.permissions() & std::filesystem::perms::owner_write) ==
            std::filesystem::perms::none) {
        result.error = SystemError(EACCES);
        return result;
    }
    const std::string text = Format(image);
    std::filesystem::path temp = path;
    temp += ".tmp~";
    errno = 0;
    std::FILE* file = OpenFile(temp, true);
    if (!file) {
        result.error = SystemError(errno ? errno : EACCES);
        return result;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeErr = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        result.error = SystemError(writeErr ? writeErr : (errno ? errno : EIO));
        std::filesystem::remove(temp, ec);
        return result;
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        result.error = ec.message();
        std::filesystem::remove(temp, ec);
        return result;
    }
    result.ok = true;
    return result;
}
