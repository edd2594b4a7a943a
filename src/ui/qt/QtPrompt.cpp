#include "ui/qt/QtPrompt.h"

#include <QMessageBox>

namespace ui::qt {

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
    QMessageBox box(qicon, QString::fromStdString(caption), QString::fromStdString(text), qbuttons,
                    owned ? m_owner.data() : nullptr);
    box.setDefaultButton(def);
    box.setTextFormat(Qt::PlainText);
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
