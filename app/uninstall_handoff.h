#pragma once

#include <string>

namespace app {

// Windows does not let a running program delete its own file, and a process whose current
// folder lies in the product folder keeps that folder from being removed. So UnInstall.exe,
// started from the product folder, hands the work to a copy of itself in a fresh folder under
// %TEMP%: the copy is started with the product folder and a way to find the original, waits
// until the original has ended, and then removes everything. Only the copy's own folder under
// %TEMP% remains (a program cannot remove itself either), where Windows' clean-up of temporary
// files finds it.
//
// An installation for every user needs administrator rights to be removed. Installed apps
// start the uninstaller without them, so the copy is then started elevated ("runas"), which
// shows Windows' consent prompt; an elevated process inherits no handle, so it is told the
// original's process id instead.

// The copy's command-line switches: "/handoff <inherited process handle> <product folder>"
// and "/elevated <process id> <product folder>".
inline constexpr const char* kHandoffSwitch = "/handoff";
inline constexpr const char* kElevatedSwitch = "/elevated";
// Given to the program itself when it is started elevated in its own place (no copy could be
// made): it asks for the rights no second time.
inline constexpr const char* kNoElevationSwitch = "/no-elevation";

// Makes the copy of `ownFile` in a fresh folder under %TEMP%; empty when that failed (then
// nothing is left behind).
std::string MakeHandoffCopy(const std::string& ownFile);

// Removes a copy that was not started, with its folder.
void DiscardHandoffCopy(const std::string& copy);

// Starts the copy with the rights of this process; false when it did not start.
bool StartHandoff(const std::string& copy, const std::string& productFolder);

enum class Elevation { Started, Declined, Failed };

// Starts `program` with `parameters` elevated (ShellExecuteExA, verb "runas"). Declined when
// the user answered No at the consent prompt (or gave no administrator's password).
Elevation StartElevated(const std::string& program, const std::string& parameters);

// Starts `program` with `parameters` elevated as StartElevated does, waits until it has ended
// and hands back its exit code; `failed` when it could not be started or was declined.
int RunElevated(const std::string& program, const std::string& parameters, int failed);

// The parameters of an elevated copy for `productFolder`.
std::string ElevatedHandoffParameters(const std::string& productFolder);

// In the copy: waits (at most a minute) for the original to end, named by the process handle
// it inherited, or by its process id.
void AwaitOriginal(const char* handleText);
void AwaitOriginalById(const char* processIdText);

}  // namespace app
