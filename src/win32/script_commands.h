// The commands for scripts, run in a process of their own that asks the
// running program through its channel and never shows a window.
#pragma once

#include <string>

#include "app/script_command.h"

namespace corvane {

// Runs `command` (not ScriptAction::None) and returns the process's exit
// code. `programFile` is this program's file, for --dial to start it as a
// shortcut does.
int RunScriptCommand(const ScriptCommand& command, const std::string& programFile);

}  // namespace corvane
