#pragma once
// Message boxes on screen.
#include <QPointer>
#include <QWidget>

#include "ui/Prompt.h"

namespace ui::qt {

class QtPrompt : public Prompt {
public:
    explicit QtPrompt(QWidget* owner = nullptr) : m_owner(owner) {}
    void SetOwner(QWidget* owner) { m_owner = owner; }

    PromptAnswer Ask(const std::string& text, const std::string& caption, PromptIcon icon,
                     PromptButtons buttons, bool owned = true) override;

private:
    QPointer<QWidget> m_owner;
};

}  // namespace ui::qt
