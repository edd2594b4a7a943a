// Message boxes on screen: the box shows its whole caption.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTimer>

#include "ui/qt/QtPrompt.h"

TEST(QtPromptBox, ShortTextStillShowsTheWholeCaption) {
    ui::qt::QtPrompt prompt;
    struct Seen {
        QString title, text;
        int width = 0;
    };
    auto show = [&](const char* text, const char* caption) {
        Seen seen;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            poll.stop();
            seen = {box->windowTitle(), box->text(), box->width()};
            box->accept();
        });
        poll.start();
        prompt.Ask(text, caption, ui::PromptIcon::Error, ui::PromptButtons::Ok);
        return seen;
    };
    const Seen spur = show("Spur Frequency!", "Calvex V HXR - Receiver Frequency");
    EXPECT_EQ(spur.title, "Calvex V HXR - Receiver Frequency");
    EXPECT_EQ(spur.text, "Spur Frequency!");
    QFont bold = QApplication::font();
    bold.setBold(true);
    // The caption, and room for the title bar's icon and buttons beside it.
    EXPECT_GE(spur.width, QFontMetrics(bold).horizontalAdvance(spur.title) + 100);

    // A long text sets the width itself, as before.
    const std::string longText(300, 'x');
    const Seen wide = show(longText.c_str(), "Short");
    EXPECT_GT(wide.width, spur.width);
}
