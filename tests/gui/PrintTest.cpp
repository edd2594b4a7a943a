#include <QDir>
#include <QFileInfo>
#include <QGraphicsView>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "codeplug/CPagerData.h"
#include "gui/AppFixture.h"
#include "report/ReportBuilder.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace cmd;

namespace {

class PrintFixture : public AppFixture {
protected:
    // Prints the report to a PDF file and returns its text (poppler's
    // pdftotext).
    QString PrintToPdfText(const QString& name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Path(name));
        EXPECT_TRUE(View().PrintReport(printer));
#ifdef _WIN32
        return HostPdfToText(Path(name), Path(name + ".txt"));
#else
        QProcess p;
        p.start("pdftotext", {"-layout", Path(name), "-"});
        EXPECT_TRUE(p.waitForFinished(60000));
        return QString::fromUtf8(p.readAllStandardOutput()).simplified();
#endif
    }
#ifdef _WIN32
    // Under Wine the host's pdftotext does the reading. A host program that
    // a Windows program starts gets no process handle to wait on, so it
    // writes its text beside the PDF and renames it when complete.
    static QString HostPath(const QString& path) {
        using ToUnix = char*(__cdecl*)(const wchar_t*);
        auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (!toUnix) return {};
        std::wstring native = QDir::toNativeSeparators(path).toStdWString();
        char* unix = toUnix(native.c_str());
        if (!unix) return {};
        QString host = QString::fromLocal8Bit(unix);
        HeapFree(GetProcessHeap(), 0, unix);
        return host;
    }
    static bool HavePdfToText() {
        return !HostPath("C:/").isEmpty() && QFileInfo::exists("Z:/usr/bin/pdftotext") &&
               QFileInfo::exists("Z:/bin/sh");
    }
    static QString HostPdfToText(const QString& pdf, const QString& text) {
        QString in = HostPath(pdf), out = HostPath(text);
        QString script = QString("pdftotext -layout '%1' '%2.part' && mv '%2.part' '%2'").arg(in, out);
        EXPECT_TRUE(QProcess::startDetached("Z:/bin/sh", {"-c", script}));
        QFile result(text);
        for (int i = 0; i < 600 && !result.exists(); ++i) QTest::qWait(100);
        EXPECT_TRUE(result.open(QIODevice::ReadOnly)) << "pdftotext wrote no text";
        return QString::fromUtf8(result.readAll()).simplified();
    }
#else
    static bool HavePdfToText() { return !QStandardPaths::findExecutable("pdftotext").isEmpty(); }
#endif
    static bool Has(const QString& text, const std::string& piece) {
        return text.contains(QString::fromStdString(piece).simplified());
    }
};

TEST_F(PrintFixture, PdfReportHoldsTheCodeplugValues) {
    if (!HavePdfToText()) GTEST_SKIP() << "no pdftotext";
    ASSERT_TRUE(Start());
    QString file = WriteDat("report.dat", SampleImage(5));
    ASSERT_TRUE(app->OpenDocumentFile(file));
    QString text = PrintToPdfText("report.pdf");

    CPagerData pager;
    CodeplugReport expected =
        BuildCodeplugReport(Doc().Codeplug(), pager, Doc().GetPathName().toStdString());
    EXPECT_TRUE(Has(text, "Welcome to Corvane Tarnix HXR! (Filename: "));
    EXPECT_TRUE(text.contains(QFileInfo(file).fileName())) << text.toStdString();
    for (const char* label :
         {"MODEL:", "SERIAL:", "SUB-BAND:", "PLUG VER:", "PAGER VER:", "RCV FREQ1:", "CALL12:",
          "MODEL OPTION:", "SQUELCH LEVEL:", "FUNCTION SWITCH:", "SW-D", "PTL:"})
        EXPECT_TRUE(Has(text, label)) << label;
    for (const std::string& value : {expected.model, expected.serial, expected.plugVersion,
                                     expected.channels[0].frequency, expected.switches[3].mode})
        if (!value.empty()) EXPECT_TRUE(Has(text, value)) << value;
    EXPECT_TRUE(Has(text, "0.000"));               // a file carries no pager version
    EXPECT_TRUE(text.contains(QString(40, '=')));  // the rules; the PDF text merges glyphs
    EXPECT_FALSE(Has(text, "Advanced Engineer Data:"));
}

TEST_F(PrintFixture, EngineerModeAddsTheAdvancedBlock) {
    if (!HavePdfToText()) GTEST_SKIP() << "no pdftotext";
    ASSERT_TRUE(Start());
    ASSERT_TRUE(app->OpenDocumentFile(WriteDat("report.dat", SampleImage(5))));
    CodeplugContext::Get().engineer = true;
    QString text = PrintToPdfText("engineer.pdf");
    EXPECT_TRUE(Has(text, "Advanced Engineer Data:"));
    EXPECT_TRUE(Has(text, "BAT_GAUGE_PERI:"));
    EXPECT_TRUE(Has(text, "SQ_OFF:"));
}

TEST_F(PrintFixture, UnwritablePdfIsReportedNotFatal) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(app->OpenDocumentFile(WriteDat("report.dat", SampleImage())));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Path("no/such/dir/out.pdf"));
    EXPECT_FALSE(View().PrintReport(printer));
    EXPECT_TRUE(Frame().statusBar()->currentMessage().startsWith("Could not write"));
}

TEST_F(PrintFixture, PrintCommandsFollowTheCodeplug) {
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Enabled(ID_FILE_PRINT));
    EXPECT_FALSE(Enabled(ID_FILE_PRINT_PREVIEW));
    ASSERT_TRUE(app->OpenDocumentFile(WriteDat("report.dat", SampleImage())));
    EXPECT_TRUE(Enabled(ID_FILE_PRINT));
    EXPECT_TRUE(Enabled(ID_FILE_PRINT_PREVIEW));
}

}  // namespace

namespace {

TEST_F(PrintFixture, PreviewOpensReadableWithThePageTakingTheKeys) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(app->OpenDocumentFile(WriteDat("report.dat", SampleImage())));
    QSize size;
    double zoom = 0;
    QPrintPreviewWidget::ZoomMode mode = QPrintPreviewWidget::CustomZoom;
    bool pageHasKeys = false;
    int scrolledBy = 0;
    QTimer poll;
    poll.setInterval(10);
    bool seen = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        auto* page = preview ? preview->findChild<QPrintPreviewWidget*>() : nullptr;
        auto* view = page ? page->findChild<QGraphicsView*>() : nullptr;
        if (!view || !preview->isVisible()) return;
        poll.stop();
        seen = true;
        QApplication::setActiveWindow(preview);
        pageHasKeys = WaitFor([&] { return view->hasFocus(); }, 2000);
        size = preview->size();
        zoom = page->zoomFactor();
        mode = page->zoomMode();
        const int before = view->verticalScrollBar()->value();
        if (QWidget* focus = QApplication::focusWidget()) QTest::keyClick(focus, Qt::Key_PageDown);
        scrolledBy = view->verticalScrollBar()->value() - before;
        preview->reject();
    });
    poll.start();
    Frame().OnCommand(ID_FILE_PRINT_PREVIEW);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(pageHasKeys);
    // As tall as the screen allows, wider than the main window's default.
    EXPECT_GE(size.height(), Frame().height());
    EXPECT_GT(size.width(), 720);
    EXPECT_EQ(mode, QPrintPreviewWidget::FitToWidth);
    EXPECT_GT(zoom, 0.7);  // it opened at 0.36 before
    EXPECT_GT(scrolledBy, 0);
}

}  // namespace
