#pragma once

#include <string>
#include <vector>

#include "deploy/command_line.h"
#include "platform/platform.h"

namespace deploy {

// What a verb did and what it was refused, one line per place, in the order met.
struct Journal {
  std::vector<std::string> done;
  std::vector<std::string> refused;
};

// The product folder of a command, as a verb may act on it: an existing folder that is no
// link (its contents would belong to wherever it points) and holds this tool. False with the
// reason in `error` otherwise.
bool CheckProductFolder(platform::FileSystem& files, const std::string& folder,
                        std::string& error);

// machine: the product folder closed to all but administrators (users read and run), then for
// every found AutoCAD of the command's releases, the demand-load keys below HKEY_LOCAL_MACHINE
// and the fonts (and AutoCAD 2008's plot driver) in AutoCAD's own folders, from the product
// folder's files. Nothing goes to the running user's places.
void DeployMachine(platform::Platform platform, const DeployCommand& command, Journal& journal);

// user: the product folder trusted in every profile of the running user, the settings file
// where the user has none, and the user's demand-load keys that would hide the machine's
// (they name another folder) taken out. Nothing of AutoCAD's own is created.
void DeployUser(platform::Platform platform, const DeployCommand& command, Journal& journal);

// remove: what names the product folder, below HKEY_LOCAL_MACHINE and for the running user:
// demand-load keys, kept plot drivers put back, Active Setup's component and the user's record
// of it, the user's trusted-paths entry. The settings file stays.
void DeployRemove(platform::Platform platform, const DeployCommand& command, Journal& journal);

// The whole run of the tool on its arguments (without the program's name): the exit code (0
// done, 1 something refused, 2 bad arguments and nothing changed), with what goes to standard
// error in `errorOutput` and the log appended to where the command names one.
int RunDeploy(platform::Platform platform, const std::vector<std::string>& args,
              std::string& errorOutput);

}  // namespace deploy
