// UnInstall.exe: takes the batch-printing plug-in back out of the machine. Started from the
// product folder (installed apps run the entry's UninstallString), it hands the work to a copy
// of itself outside that folder; the copy asks, removes and reports.

#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/ansi_code_page.h"
#include "app/uninstall_handoff.h"
#include "app/uninstall_message_boxes.h"
#include "platform/ansi_text.h"
#include "platform/built_in_text.h"
#include "platform/win32/win32_platform.h"
#include "uninstall/uninstall_messages.h"
#include "uninstall/uninstall_sequence.h"

namespace {

const bool codePageSet = app::UseAnsiCodePage();

// The program's own file and its folder; false when the path did not fit.
bool OwnFile(std::string& file, std::string& folder) {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  file = path;
  const std::size_t slash = ansi::FindLastBackslash(file);
  if (slash == std::string::npos) return false;
  folder = file.substr(0, slash);
  return true;
}

int Uninstall(platform::Platform platform, const std::string& productFolder) {
  uninstall::RemovalReport report;
  const bool ran = app::UninstallWithMessageBoxes(platform, productFolder, report);
  return ran && report.Clean() ? 0 : 1;
}

// An installation for every user, and this process without the rights to remove it: the work
// goes to an elevated copy (or, where no copy can be made, to this program started elevated in
// its place). Declined or impossible, nothing is changed, and the user is told so. True when
// an elevated process took the work over.
bool HandToElevated(platform::Win32Platform& machine, const std::string& ownFile,
                    const std::string& ownFolder) {
  const std::string copy = app::MakeHandoffCopy(ownFile);
  const app::Elevation elevation =
      copy.empty() ? app::StartElevated(ownFile, app::kNoElevationSwitch)
                   : app::StartElevated(copy, app::ElevatedHandoffParameters(ownFolder));
  if (elevation == app::Elevation::Started) return true;
  if (!copy.empty()) app::DiscardHandoffCopy(copy);
  machine.messages.Show(0, ansi::BuiltIn(uninstall::kNeedsAdministratorText),
                        ansi::BuiltIn(uninstall::kUninstallCaption), MB_OK | MB_ICONEXCLAMATION);
  return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  platform::Win32Platform machine;
  if (__argc == 4 && std::string(__argv[1]) == app::kHandoffSwitch) {
    app::AwaitOriginal(__argv[2]);
    return Uninstall(machine.Get(), __argv[3]);
  }
  if (__argc == 4 && std::string(__argv[1]) == app::kElevatedSwitch) {
    app::AwaitOriginalById(__argv[2]);
    return Uninstall(machine.Get(), __argv[3]);
  }
  const bool mayElevate = !(__argc == 2 && std::string(__argv[1]) == app::kNoElevationSwitch);
  std::string ownFile;
  std::string ownFolder;
  if (!OwnFile(ownFile, ownFolder)) {
    machine.messages.Show(0, ansi::BuiltIn(uninstall::kNotProductFolderText),
                          ansi::BuiltIn(uninstall::kUninstallCaption), 0);
    return 1;
  }
  uninstall::OwnEntries entries;
  if (uninstall::CheckProductFolder(machine.registry, ownFolder, entries) ==
      uninstall::FolderCheck::Ours) {
    if (entries.machine && mayElevate && !machine.processes.RunsAsAdministrator()) {
      return HandToElevated(machine, ownFile, ownFolder) ? 0 : 1;
    }
    const std::string copy = app::MakeHandoffCopy(ownFile);
    if (!copy.empty()) {
      if (app::StartHandoff(copy, ownFolder)) return 0;
      app::DiscardHandoffCopy(copy);
    }
  }
  // Refused folders are told so here; and where no copy could be started, the uninstaller does
  // the work itself: its own file then stays, named in the final message, and the entry goes.
  return Uninstall(machine.Get(), ownFolder);
}
