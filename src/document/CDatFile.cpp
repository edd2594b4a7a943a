#include "document/CDatFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace {

// A character source with one character of lookahead over the caller's
// bytes, or over chunks that a refill function reads from a file into the
// caller's buffer. Peek() returns -1 at the end.
class Source {
public:
    using Refill = std::size_t (*)(void* from, char* buf, std::size_t cap);

    Source(const void* data, std::size_t size)
        : m_p(static_cast<const char*>(data)), m_end(m_p + size) {}
    Source(Refill refill, void* from, char* buf, std::size_t cap)
        : m_refill(refill), m_from(from), m_buf(buf), m_cap(cap) {}

    // Per character of the file: kept inline even in instrumented builds.
    [[gnu::always_inline]] int Peek() {
        return m_p != m_end ? static_cast<unsigned char>(*m_p) : PeekNextChunk();
    }
    // Steps over the character the last Peek() gave.
    [[gnu::always_inline]] void Skip() { ++m_p; }
    // Skips past the next `c`; false at the end of the input.
    bool SkipPast(char c) {
        for (;;) {
            if (m_p == m_end && !Fill()) return false;
            const auto* at = static_cast<const char*>(
                std::memchr(m_p, c, static_cast<std::size_t>(m_end - m_p)));
            if (at) {
                m_p = at + 1;
                return true;
            }
            m_p = m_end;
        }
    }

private:
    bool Fill() {
        if (!m_refill) return false;
        const std::size_t n = m_refill(m_from, m_buf, m_cap);
        m_p = m_buf;
        m_end = m_buf + n;
        return n > 0;
    }
    int PeekNextChunk() { return Fill() ? static_cast<unsigned char>(*m_p) : -1; }

    const char* m_p = nullptr;
    const char* m_end = nullptr;
    Refill m_refill = nullptr;
    void* m_from = nullptr;
    char* m_buf = nullptr;
    std::size_t m_cap = 0;
};

constexpr std::size_t kChunk = 4096;

// A stream is read character by character, so that it is left right after
// the last character the reader used.
class StreamSource {
public:
    explicit StreamSource(std::istream& in) : m_buf(in.rdbuf()) {}
    [[gnu::always_inline]] int Peek() { return m_buf ? Norm(m_buf->sgetc()) : -1; }
    [[gnu::always_inline]] void Skip() { m_buf->sbumpc(); }
    bool SkipPast(char wanted) {
        for (int c = Peek(); c >= 0; c = Peek()) {
            Skip();
            if (c == static_cast<unsigned char>(wanted)) return true;
        }
        return false;
    }

private:
    static int Norm(std::streambuf::int_type c) {
        return c == std::streambuf::traits_type::eof() ? -1 : static_cast<unsigned char>(c);
    }
    std::streambuf* m_buf;
};

std::size_t FromFile(void* from, char* buf, std::size_t cap) {
    return std::fread(buf, 1, cap, static_cast<std::FILE*>(from));
}

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
template <class Src>
bool ReadHexByte(Src& src, Byte& out) {
    int c = src.Peek();
    for (; IsBlank(c); c = src.Peek()) src.Skip();
    if (HexValue(c) < 0) return false;
    if (c == '0') {
        src.Skip();
        c = src.Peek();
        if (c == 'x' || c == 'X') {
            src.Skip();
            c = src.Peek();
        }
    }
    unsigned value = 0;
    for (int digit; (digit = HexValue(c)) >= 0; c = src.Peek()) {
        value = ((value << 4) | static_cast<unsigned>(digit)) & 0xFFu;
        src.Skip();
    }
    out = static_cast<Byte>(value);
    return true;
}

template <class Src>
CDatFile::Parsed ParseFrom(Src& src) {
    CDatFile::Parsed result;
    Byte last = 0;
    auto out = result.image.begin();
    // Everything but the dollar signs and the numbers after them is ignored.
    while (out != result.image.end() && src.SkipPast('$')) {
        if (!ReadHexByte(src, last)) break;
        *out++ = last;
    }
    result.valuesRead = static_cast<std::size_t>(out - result.image.begin());
    std::fill(out, result.image.end(), last);
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
    Source src(data, size);
    return ParseFrom(src);
}

CDatFile::Parsed CDatFile::Parse(std::istream& in) {
    StreamSource src(in);
    return ParseFrom(src);
}

CDatFile::Parsed CDatFile::Parse(std::FILE* file) {
    char buf[kChunk];
    Source src(FromFile, file, buf, sizeof buf);
    return ParseFrom(src);
}

std::string CDatFile::Format(const Image& image) {
    std::string text(kFileSize, '\0');
    Format(image, text.data());
    return text;
}

void CDatFile::Format(const Image& image, char* text) {
    // "0x%03x: $%02X\n" for every byte, digit by digit: the offset has at
    // most three hex digits and the value two (a test holds it to printf).
    static constexpr char kLower[] = "0123456789abcdef";
    static constexpr char kUpper[] = "0123456789ABCDEF";
    char* line = text;
    std::size_t i = 0;
    for (const unsigned b : image) {
        line[0] = '0';
        line[1] = 'x';
        line[2] = kLower[(i >> 8) & 0xF];
        line[3] = kLower[(i >> 4) & 0xF];
        line[4] = kLower[i & 0xF];
        line[5] = ':';
        line[6] = ' ';
        line[7] = '$';
        line[8] = kUpper[b >> 4];
        line[9] = kUpper[b & 0xF];
        line[10] = '\n';
        line += kLineLength;
        ++i;
    }
}

bool CDatFile::IsValid(const Image& image) {
    const auto span = image.begin() + layout::CHECKSUM_SPAN;
    return std::any_of(image.begin(), span, [](Byte b) { return b != 0; }) &&
           CCodeplug::ComputeChecksum(image) == image[layout::CHECKSUM];
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
