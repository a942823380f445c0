#pragma once

#include <string>

#include "platform/platform.h"
#include "uninstall/removal_report.h"
#include "uninstall/uninstall_prompts.h"

namespace uninstall {

// Which installed-apps entries name the product folder the uninstaller works on.
struct OwnEntries {
  bool machine = false;  // below HKEY_LOCAL_MACHINE
  bool user = false;     // below HKEY_CURRENT_USER
};

enum class FolderCheck {
  Ours,               // a product folder that an entry names: it may be removed
  NotProductFolder,   // not a folder named as the setup names the product folder
  NoEntry,            // no entry, none with an InstallLocation, or none that names it
};

// Whether `productFolder` (the folder the uninstaller was installed in) may be removed, and
// by which entries it is listed. An administrator's installation (HKEY_LOCAL_MACHINE) and a
// user's (HKEY_CURRENT_USER) may name different folders: only the entries naming this one
// count, and nothing is guessed from an entry that names another.
FolderCheck CheckProductFolder(platform::Registry& registry, const std::string& productFolder,
                               OwnEntries& entries);

enum class UninstallEnd {
  NotProductFolder,    // refused: nothing was changed
  NoEntry,             // refused: nothing was changed
  NeedsAdministrator,  // an installation for every user, and no rights: nothing was changed
  Declined,            // the removal was not confirmed: nothing was changed
  Removed,             // the removals ran; `report` says what stayed
};

// The whole uninstallation of the product in `productFolder`: the refusals, the question with
// the running-AutoCAD warning (once; a second Yes goes on), asked through `prompts`, and the
// removals. The uninstaller in the product folder goes last, and only when everything else
// has gone; so do the entries in installed apps: otherwise both stay so that the user can run
// it again. The running program's own file cannot be deleted: the program runs from a copy
// elsewhere. Short of Removed, `report` stays empty.
UninstallEnd RunUninstall(platform::Platform platform, const std::string& productFolder,
                          UninstallPrompts& prompts, RemovalReport& report);

}  // namespace uninstall
