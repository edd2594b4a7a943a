#include "app/CTarnixHXRDoc.h"

#include <filesystem>

namespace {
std::filesystem::path ToPath(const QString& s) {
    return std::filesystem::path(s.toStdString());
}
}  // namespace

void CTarnixHXRDoc::SetDataValid(bool valid) {
    m_core.Codeplug().SetDataValid(valid ? 1 : 0);
    emit changed();
}

QString CTarnixHXRDoc::GetTitle() const {
    return m_untitled ? QString::fromUtf8(CodeplugDocument::kUntitled)
                      : QString::fromStdString(m_core.Title());
}

QString CTarnixHXRDoc::GetPathName() const {
    return m_untitled ? QString() : QString::fromStdString(m_core.Path().string());
}

void CTarnixHXRDoc::SetUntitled() {
    m_untitled = true;
    emit changed();
}

DocumentResult CTarnixHXRDoc::OnOpenDocument(const QString& path) {
    DocumentResult r = m_core.Open(ToPath(path));
    // A corrupted file still becomes the document (with DATA_VALID 0).
    if (r.kind != DocumentResult::Kind::Unreadable) m_untitled = false;
    emit changed();
    return r;
}

DocumentResult CTarnixHXRDoc::OnSaveDocument(const QString& path) {
    DocumentResult r = m_core.SaveAs(ToPath(path));
    if (r.Ok()) m_untitled = false;
    emit changed();
    return r;
}

DocumentResult CTarnixHXRDoc::Save() {
    if (m_untitled || m_core.Path().empty()) return {DocumentResult::Kind::NoPath, {}, {}};
    return OnSaveDocument(QString::fromStdString(m_core.Path().string()));
}
