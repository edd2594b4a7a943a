#pragma once
// A Prompt for tests: records every box and answers from a queue.
#include <deque>
#include <string>
#include <vector>

#include "ui/Prompt.h"

namespace ui {

class ScriptedPrompt : public Prompt {
public:
    struct Record {
        std::string text;
        std::string caption;
        PromptIcon icon;
        PromptButtons buttons;
        bool owned;
        PromptAnswer answer;
    };

    // Queues the answer for the next box.
    void Answer(PromptAnswer answer) { m_script.push_back(answer); }

    PromptAnswer Ask(const std::string& text, const std::string& caption, PromptIcon icon,
                     PromptButtons buttons, bool owned = true) override;

    const std::vector<Record>& Records() const { return m_records; }
    // Boxes shown while the script was empty and the answer had to be guessed.
    int Unscripted() const { return m_unscripted; }
    std::size_t Pending() const { return m_script.size(); }
    void Clear() {
        m_records.clear();
        m_script.clear();
        m_unscripted = 0;
    }

private:
    std::deque<PromptAnswer> m_script;
    std::vector<Record> m_records;
    int m_unscripted = 0;
};

}  // namespace ui
