#pragma once
// Starts the whole program in-process (offscreen) with a scripted prompt.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "app/CMainFrame.h"
#include "app/CTarnixHXRApp.h"
#include "app/CTarnixHXRDoc.h"
#include "app/CTarnixHXRView.h"
#include "app/CommandIds.h"
#include "codeplug/CodeplugContext.h"
#include "document/CDatFile.h"
#include "gui/TestLink.h"
#include "gui/WaitFor.h"
#include "ui/ScriptedPrompt.h"


// A codeplug that passes the file checks, with every byte in use.
inline Image SampleImage(Byte seed = 3) {
    Image img{};
    for (std::size_t i = 0; i < img.size(); ++i) img[i] = static_cast<Byte>(i * 7 + seed);
    CCodeplug plug;
    plug.SetImage(img);
    return plug.PrepareForOutput();
}

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        CodeplugContext::Get().Reset();
        link.productDir = (m_dir.path() + "/").toStdString();
    }
    void TearDown() override {
        app.reset();
        CodeplugContext::Get().Reset();
    }

    bool Start(QStringList args = {"CalvexVHXR"}) {
        app = std::make_unique<CTarnixHXRApp>(&prompt, &link);
        app->SetFileChooser([this](bool) { return chosenFile; });
        return app->InitInstance(args);
    }

    CMainFrame& Frame() { return *app->Frame(); }
    // Accelerators only reach the active window.
    void Activate() {
        Frame().activateWindow();
        QApplication::setActiveWindow(&Frame());
        WaitFor([this] { return Frame().isActiveWindow(); }, 5000);
    }
    CTarnixHXRView& View() { return app->View(); }
    CTarnixHXRDoc& Doc() { return app->Document(); }

    bool Enabled(int id) {
        Frame().UpdateCommandUI();
        return Frame().Action(id)->isEnabled();
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QString WriteDat(const QString& name, const Image& image) {
        QString path = Path(name);
        EXPECT_TRUE(CDatFile::Write(path.toStdString(), image).ok);
        return path;
    }
    QString WriteText(const QString& name, const QByteArray& text);

    ui::ScriptedPrompt prompt;
    TestLink link;
    std::unique_ptr<CTarnixHXRApp> app;
    QString chosenFile;

private:
    QTemporaryDir m_dir;
};

inline QString AppFixture::WriteText(const QString& name, const QByteArray& text) {
    QString path = Path(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return path;
}
