// Runs one desktop dialog tool to its end, watching the X display for its window.
#pragma once

#include "platform/dialog_tools.h"

#include <string>
#include <vector>

// Starts the program at path (no shell) in a process group of its own, waits
// without spinning until it ends, and says how. A tool with no window on the
// display windowLimitMs after its start is ended, with everything it started, and
// reported as showedNoWindow; once its window is up it may take as long as the
// user does.
ToolEnd runDialogTool(const std::string& path, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment, int windowLimitMs);
