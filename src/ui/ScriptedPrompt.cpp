#include "ui/ScriptedPrompt.h"

namespace ui {

namespace {
// The answer a box gets when nobody scripted one: its safe button.
PromptAnswer SafeAnswer(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::Ok:
            return PromptAnswer::Ok;
        case PromptButtons::OkCancel:
            return PromptAnswer::Cancel;
        case PromptButtons::YesNo:
            return PromptAnswer::No;
        case PromptButtons::YesNoCancel:
            return PromptAnswer::Cancel;
    }
    return PromptAnswer::Cancel;
}

bool Offers(PromptButtons buttons, PromptAnswer answer) {
    switch (buttons) {
        case PromptButtons::Ok:
            return answer == PromptAnswer::Ok;
        case PromptButtons::OkCancel:
            return answer == PromptAnswer::Ok || answer == PromptAnswer::Cancel;
        case PromptButtons::YesNo:
            return answer == PromptAnswer::Yes || answer == PromptAnswer::No;
        case PromptButtons::YesNoCancel:
            return answer != PromptAnswer::Ok;
    }
    return false;
}
}  // namespace

PromptAnswer ScriptedPrompt::Ask(const std::string& text, const std::string& caption,
                                 PromptIcon icon, PromptButtons buttons, bool owned) {
    PromptAnswer answer;
    if (buttons == PromptButtons::Ok) {
        // A plain notice needs no script; an answer queued for it stays queued.
        answer = PromptAnswer::Ok;
    } else if (!m_script.empty() && Offers(buttons, m_script.front())) {
        answer = m_script.front();
        m_script.pop_front();
    } else {
        answer = SafeAnswer(buttons);
        ++m_unscripted;
    }
    m_records.push_back({text, caption, icon, buttons, owned, answer});
    return answer;
}

}  // namespace ui
