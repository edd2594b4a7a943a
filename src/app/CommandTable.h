#pragma once
// The program's commands: prompts from the string table and the rule that
// enables each one. No Qt here, so the table can be checked on its own.
#include <string>
#include <vector>

namespace cmd {

enum class Enable {
    Always,
    DataValid,          // the document holds a valid codeplug
    EngineerDataValid,  // engineer mode and a valid codeplug
};

struct CommandInfo {
    int id;
    std::string prompt;  // "status bar text\ntooltip"
    Enable rule;
};

const std::vector<CommandInfo>& Commands();
const CommandInfo* FindCommand(int id);

// The string table entry of a command split at the line break.
std::string StatusText(int id);
std::string ToolTipText(int id);

// The enabling rule applied to the current state.
bool IsEnabled(int id, bool dataValid, bool engineer);

// The idle text of the status bar's message pane.
inline constexpr const char* kIdlePrompt = "For Help, press F1";

}  // namespace cmd
