// UnInstall.exe: takes the batch-printing plug-in back out of the machine. Started from the
// product folder (installed apps run the entry's UninstallString), it hands the work to a copy
// of itself outside that folder; the copy asks, removes and reports.

#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/ansi_code_page.h"
#include "app/uninstall_handoff.h"
#include "app/uninstall_message_boxes.h"
#include "app/uninstall_quiet.h"
#include "install/installed_apps_entry.h"
#include "platform/ansi_text.h"
#include "platform/built_in_text.h"
#include "platform/program_folder.h"
#include "platform/win32/win32_platform.h"
#include "uninstall/uninstall_messages.h"
#include "uninstall/uninstall_sequence.h"

namespace {

const bool codePageSet = app::UseAnsiCodePage();

int Uninstall(platform::Win32Platform& machine, const std::string& productFolder) {
  uninstall::RemovalReport report;
  const bool ran = app::UninstallWithMessageBoxes(machine.Get(), machine.messages, productFolder, report);
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

bool HasSwitch(const char* name) {
  for (int k = 1; k < __argc; ++k) {
    if (ansi::EqualsNoCase(__argv[k], name)) return true;
  }
  return false;
}

// UnInstall.exe /quiet: no copy of itself (its exit code is the result the caller waits for),
// so it works in place, from a current folder outside the product folder; its own file then
// goes at Windows' next start. An installation for every user without the rights: the same
// program, elevated, does the work, and its exit code is handed on.
int UninstallQuietly(platform::Win32Platform& machine, bool mayElevate) {
  std::string ownFile;
  std::string ownFolder;
  if (!platform::OwnProgramFile(machine.files, ownFile) ||
      !platform::OwnProgramFolder(machine.files, ownFolder)) {
    return app::kQuietRefused;
  }
  uninstall::OwnEntries entries;
  if (uninstall::CheckProductFolder(machine.registry, ownFolder, entries) ==
          uninstall::FolderCheck::Ours &&
      entries.machine && mayElevate && !machine.processes.RunsAsAdministrator()) {
    return app::RunElevated(ownFile,
                            std::string(install::kQuietUninstallSwitch) + " " +
                                app::kNoElevationSwitch,
                            app::kQuietRefused);
  }
  char temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(MAX_PATH + 1, temp);
  if (length > 0 && length <= MAX_PATH) SetCurrentDirectoryA(temp);
  uninstall::RemovalReport report;
  return app::UninstallQuietly(machine.Get(), ownFolder, report);
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  platform::Win32Platform machine;
  if (__argc == 4 && std::string(__argv[1]) == app::kHandoffSwitch) {
    app::AwaitOriginal(__argv[2]);
    return Uninstall(machine, __argv[3]);
  }
  if (__argc == 4 && std::string(__argv[1]) == app::kElevatedSwitch) {
    app::AwaitOriginalById(__argv[2]);
    return Uninstall(machine, __argv[3]);
  }
  const bool mayElevate = !HasSwitch(app::kNoElevationSwitch);
  if (HasSwitch(install::kQuietUninstallSwitch)) return UninstallQuietly(machine, mayElevate);
  std::string ownFile;
  std::string ownFolder;
  if (!platform::OwnProgramFile(machine.files, ownFile) ||
      !platform::OwnProgramFolder(machine.files, ownFolder)) {
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
  return Uninstall(machine, ownFolder);
}
