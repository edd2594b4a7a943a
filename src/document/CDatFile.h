#pragma once
// The codeplug text file (.dat): one line "0x%03x: $%02X\n" per image byte.
// Reading looks only at the dollar signs: the hexadecimal number after each
// one is the next image byte (its low 8 bits), everything else is ignored.
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <string>

#include "codeplug/CCodeplug.h"

class CDatFile {
public:
    static constexpr std::size_t kLineLength = 11;
    static constexpr std::size_t kFileSize = layout::IMAGE_SIZE * kLineLength;  // 5632

    struct Parsed {
        Image image{};
        // Values actually found (0 to 512); the rest of the image repeats the
        // last value found (0 when none was).
        std::size_t valuesRead = 0;
    };

    // Parsers stop after the 512th value; a short or damaged input ends the
    // reading and the last value fills the rest of the image. A stream is
    // left right after the last character used; a file is read in chunks.
    static Parsed Parse(const void* data, std::size_t size);
    static Parsed Parse(std::istream& in);
    static Parsed Parse(std::FILE* file);

    // The 512 lines of an image, exactly as written to a file.
    static std::string Format(const Image& image);
    // The same into `text`, which holds kFileSize characters.
    static void Format(const Image& image, char* text);

    // What the program accepts as a codeplug: the sum of bytes 0x000-0x1EC
    // matches CHECKSUM and those bytes are not all zero.
    static bool IsValid(const Image& image);

    struct ReadResult {
        bool ok = false;    // false: the file could not be read at all
        std::string error;  // why, when !ok (system error text)
        Parsed parsed;
    };
    // Reads a file. Only regular files are read, so a directory, a device or
    // a pipe can never leave the reader waiting or reading without end.
    static ReadResult Read(const std::filesystem::path& path);

    struct WriteResult {
        bool ok = false;
        std::string error;
    };
    // Writes `image` as it is (callers pass CCodeplug::PrepareForOutput()).
    // The text goes to a temporary file beside the target that then replaces
    // it, so a failed write never destroys an earlier file.
    static WriteResult Write(const std::filesystem::path& path, const Image& image);
    // Writes the codeplug's output copy, with fresh CHECKSUM and CHECK_CODE.
    static WriteResult Write(const std::filesystem::path& path, const CCodeplug& plug) {
        return Write(path, plug.PrepareForOutput());
    }
};
