#pragma once

#include <string>

namespace app {

// Windows does not let a running program delete its own file, and a process whose current
// folder lies in the product folder keeps that folder from being removed. So UnInstall.exe,
// started from the product folder, hands the work to a copy of itself in a fresh folder under
// %TEMP%: the copy is started with the product folder and an inheritable handle to the
// original's process, waits until the original has ended, and then removes everything. Only
// the copy's own folder under %TEMP% remains (a program cannot remove itself either), where
// Windows' clean-up of temporary files finds it.

// The command-line switch of the copy: "/handoff <process handle> <product folder>".
inline constexpr const char* kHandoffSwitch = "/handoff";

// Starts the copy; false when anything on the way failed (nothing has been started then).
bool StartHandoff(const std::string& ownFile, const std::string& productFolder);

// In the copy: waits (at most a minute) for the original, whose process handle the command
// line names, to end.
void AwaitOriginal(const char* handleText);

}  // namespace app
