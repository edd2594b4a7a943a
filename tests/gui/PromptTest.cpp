// Message boxes on screen: the box shows its whole caption.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

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

TEST(QtPromptBox, ATextWithItsOwnLineBreaksKeepsItsLines) {
    ui::qt::QtPrompt prompt;
    const std::string text =
        "OUT_OF_BAND Frequency Warning:\n\nYou have programmed a RCV FREQ outside of the Corvane "
        "recommended \noperation range. This will result in degraded page sense performance. "
        "\nCorvane is unable to guarantee operational and performance characteristics \nwhile "
        "this condition exists.";
    QStringList lines;
    int labelWidth = 0, longest = 0;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        poll.stop();
        auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(label, nullptr);
        EXPECT_FALSE(label->wordWrap());
        labelWidth = label->width();
        for (const QString& line : box->text().split('\n'))
            longest = std::max(longest, label->fontMetrics().horizontalAdvance(line));
        box->accept();
    });
    poll.start();
    prompt.Ask(text, "Calvex V HXR - Receiver Frequency", ui::PromptIcon::Warning,
               ui::PromptButtons::Ok);
    // Every line of the text has room on one line of the box.
    EXPECT_GE(labelWidth, longest);
}
