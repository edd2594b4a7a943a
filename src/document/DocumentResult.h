#pragma once
// Outcome of a document file operation, for the caller to show: a message
// box text and caption, or nothing when it went well.
#include <string>

struct DocumentResult {
    enum class Kind {
        Ok,
        Corrupted,   // read, but the checks failed: bytes kept, DATA_VALID 0
        Unreadable,  // could not be read at all: the document is unchanged
        NoPath,      // Save on a document that has no file yet: ask for one
        WriteFailed  // the file could not be written: the document is unchanged
    };

    Kind kind = Kind::Ok;
    std::string message;  // empty when Ok
    std::string caption;  // message box caption

    bool Ok() const { return kind == Kind::Ok; }
};
