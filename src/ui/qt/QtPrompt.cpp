#include "ui/qt/QtPrompt.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSpacerItem>

#include "ui/qt/ScreenFit.h"

namespace ui::qt {

namespace {

// Room the window manager takes beside a caption: the window icon and the
// minimise, maximise and close buttons.
constexpr int kTitleChrome = 110;

// A box only as wide as a short text ("Spur Frequency!") would cut its
// caption off in the title bar; the box is made wide enough to show it.
void FitCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont title = box.font();
    title.setBold(true);
    const int width = QFontMetrics(title).horizontalAdvance(box.windowTitle()) + kTitleChrome;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// A text that brings its own line breaks is shown with them only: the box
// would otherwise wrap its longer lines once more, at half the screen's
// width, into ragged pairs of long and short lines.
class LineKeepingBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const int before = width();
        KeepLines();
        // Still centred where it was placed.
        if (width() > before) move(x() - (width() - before) / 2, y());
    }
    bool event(QEvent* event) override {
        const bool done = QMessageBox::event(event);
        // The box sizes itself again on every layout request.
        if (event->type() == QEvent::LayoutRequest) KeepLines();
        return done;
    }

private:
    void KeepLines() {
        auto* label = findChild<QLabel*>("qt_msgbox_label");
        if (!isVisible() || !label || !label->wordWrap() || !text().contains('\n')) return;
        label->setWordWrap(false);
        layout()->activate();
        const QSize unwrapped = layout()->totalMinimumSize();
        if (unwrapped.width() > ScreenRoom(this).width())
            label->setWordWrap(true);  // lines longer than the screen still wrap
        else
            setFixedSize(unwrapped.expandedTo(QSize(width(), 0)));
        // What changed here needs no other pass.
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }
};

}  // namespace

PromptAnswer QtPrompt::Ask(const std::string& text, const std::string& caption, PromptIcon icon,
                           PromptButtons buttons, bool owned) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
        case PromptIcon::None:
            break;
        case PromptIcon::Information:
            qicon = QMessageBox::Information;
            break;
        case PromptIcon::Question:
            qicon = QMessageBox::Question;
            break;
        case PromptIcon::Warning:
            qicon = QMessageBox::Warning;
            break;
        case PromptIcon::Error:
            qicon = QMessageBox::Critical;
            break;
    }
    QMessageBox::StandardButtons qbuttons = QMessageBox::Ok;
    QMessageBox::StandardButton def = QMessageBox::Ok;
    switch (buttons) {
        case PromptButtons::Ok:
            break;
        case PromptButtons::OkCancel:
            qbuttons = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case PromptButtons::YesNo:
            qbuttons = QMessageBox::Yes | QMessageBox::No;
            def = QMessageBox::Yes;
            break;
        case PromptButtons::YesNoCancel:
            qbuttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            def = QMessageBox::Yes;
            break;
    }
    LineKeepingBox box(qicon, QString::fromStdString(caption), QString::fromStdString(text), qbuttons,
                    owned ? m_owner.data() : nullptr);
    box.setDefaultButton(def);
    box.setTextFormat(Qt::PlainText);
    FitCaption(box);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        case QMessageBox::Cancel:
            return PromptAnswer::Cancel;
        case QMessageBox::Ok:
            return PromptAnswer::Ok;
        default:
            // Escape or the close box: the box's cancel-like answer.
            return buttons == PromptButtons::YesNo ? PromptAnswer::No
                   : buttons == PromptButtons::Ok  ? PromptAnswer::Ok
                                                   : PromptAnswer::Cancel;
    }
}

}  // namespace ui::qt
