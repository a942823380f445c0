#pragma once

#include <string>
#include <vector>

#include "discovery/release_table.h"

namespace deploy {

// What the tool is asked to do.
enum class Verb {
  Machine,  // the machine-wide part for the found AutoCAD installations
  User,     // what belongs to the user who runs it
  Remove,   // the machine-wide part and the running user's part taken out
};

// A command line that passed every check that needs no file system.
struct DeployCommand {
  Verb verb = Verb::Machine;
  // Absolute, without a trailing "\" or "\.", within the path limits, no ';'.
  std::string folder;
  // The releases `machine` serves, in table order (non-zero = asked for); every release when
  // the command names none. The other verbs serve every release.
  discovery::ReleaseFlags releases{};
  // The log to append to; empty when none was asked for.
  std::string logPath;
};

// Reads the tool's arguments (without the program's own name), as Windows' argument rules
// split them. True when they form a command; otherwise false with `error` set to a one-line
// reason, which the caller follows with kUsageText. Needs nothing of the machine, so a
// Windows Installer action can check a command before any file of the package is there.
bool ParseCommandLine(const std::vector<std::string>& args, DeployCommand& command,
                      std::string& error);

inline constexpr const char* kUsageText =
    "usage:\n"
    "  zelvar-deploy machine --folder DIR [--releases all|2010,2014,...] [--log FILE]\n"
    "  zelvar-deploy user    --folder DIR [--log FILE]\n"
    "  zelvar-deploy remove  --folder DIR [--log FILE]\n"
    "DIR is the product folder, which holds zelvar-deploy.exe.\n"
    "Exit code: 0 done, 1 something was refused (named above), 2 bad arguments.\n";

}  // namespace deploy
