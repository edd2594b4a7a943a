#pragma once
// Every message box of the program goes through a Prompt, so the GUI shows a
// real box and tests answer from a script.
#include <string>

namespace ui {

enum class PromptIcon { None, Information, Question, Warning, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class Prompt {
public:
    virtual ~Prompt() = default;
    // Shows the box and returns the button pressed. `owned` is false for boxes
    // that have no owner window.
    virtual PromptAnswer Ask(const std::string& text, const std::string& caption, PromptIcon icon,
                             PromptButtons buttons, bool owned = true) = 0;

    // Shorthands.
    void Error(const std::string& text, const std::string& caption, bool owned = true) {
        Ask(text, caption, PromptIcon::Error, PromptButtons::Ok, owned);
    }
    bool YesNo(const std::string& text, const std::string& caption) {
        return Ask(text, caption, PromptIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes;
    }
};

}  // namespace ui
