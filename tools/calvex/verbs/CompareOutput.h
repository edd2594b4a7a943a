#pragma once
// What calvex diff and calvex write --verify share: reading the pager's
// current contents and printing a comparison of two codeplugs.
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "Progress.h"
#include "document/CodeplugDocument.h"
#include "document/CodeplugFields.h"
#include "link/CCommPort.h"
#include "link/TransferRunner.h"

// Reads the pager's 512 bytes (byte 511, the firmware version, included).
// Nothing, with the reason in `why`, when the read fails.
inline std::optional<Image> ReadPagerContents(CCommPort& link, const std::string& what,
                                              std::string& why, double* seconds = nullptr) {
    CodeplugDocument doc;
    TransferOutcome outcome;
    const auto start = std::chrono::steady_clock::now();
    {
        TransferProgress progress(what + " on " + link.PortName(), 5000);
        outcome = RunTransfer(TransferKind::Read, link, doc.Codeplug(),
                              [&](int ms) { progress.Update(ms); });
    }
    if (seconds) {
        *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (outcome.message != WM_PAGER_READ_OK) {
        why = DescribeFault(outcome);
        return std::nullopt;
    }
    return doc.Codeplug().GetImage();
}

// Prints the differences, as text lines or as one JSON object.
inline void PrintDiff(const CodeplugDiff& diff, bool json, FILE* out = stdout) {
    if (json) {
        std::fprintf(
            out, "%s\n",
            DiffJson(diff).dump(2, ' ', false, FieldJson::error_handler_t::replace).c_str());
    } else {
        std::fputs(DiffText(diff).c_str(), out);
    }
}
