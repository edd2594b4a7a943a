#pragma once
// The program's one document: the codeplug of the run and the file it came
// from. It is never marked modified, so nothing ever asks to save it.
#include <QObject>
#include <QString>

#include "document/CodeplugDocument.h"

class CTarnixHXRDoc : public QObject {
    Q_OBJECT
public:
    explicit CTarnixHXRDoc(QObject* parent = nullptr) : QObject(parent) {}

    CCodeplug& Codeplug() { return m_core.Codeplug(); }
    const CCodeplug& Codeplug() const { return m_core.Codeplug(); }
    bool DataValid() const { return m_core.Codeplug().GetDataValid() != 0; }
    void SetDataValid(bool valid);

    // Title shown in the caption ("Untitled" without a file) and full path
    // ("" without a file).
    QString GetTitle() const;
    QString GetPathName() const;
    // Back to "Untitled": a later Save asks for a file name instead of
    // silently overwriting the file the codeplug no longer comes from.
    void SetUntitled();

    // File > Open and File > Save As: the result says what to show.
    DocumentResult OnOpenDocument(const QString& path);
    DocumentResult OnSaveDocument(const QString& path);
    // File > Save: NoPath when the document has no file to save to.
    DocumentResult Save();

    // Tells the frame that the title or DATA_VALID changed.
    void UpdateAllViews() { emit changed(); }

signals:
    void changed();

private:
    CodeplugDocument m_core;
    bool m_untitled = true;
};
