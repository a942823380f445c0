// One run of the tool: the arguments checked before anything is touched, the verb, and what
// it did told on standard error (refusals) and in the log (everything).

#include <string_view>

#include "deploy/verbs.h"
#include "platform/file_system.h"

namespace deploy {
namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kBadArguments = 2;

// A log longer than this is not read back to be appended to: it is no log of this tool.
constexpr std::size_t kLargestLog = 16 * 1024 * 1024;

// The log named where the command line as a whole was refused: the value after the first
// "--log", if any.
std::string LogPathOf(const std::vector<std::string>& args) {
  for (std::size_t i = 1; i + 1 < args.size(); ++i) {
    if (args[i] == "--log") {
      return args[i + 1].size() < platform::kMaxPath ? args[i + 1] : std::string();
    }
  }
  return {};
}

// Appends the lines to the log. The file is written whole through WriteWholeFile, which
// replaces a link at its path instead of writing through it. An existing log that cannot be
// read back is left as it is.
bool AppendToLog(platform::FileSystem& files, const std::string& path,
                 const std::vector<std::string>& lines) {
  std::string contents;
  if (files.GetAttributes(path.c_str()) != platform::attr::kInvalid &&
      !files.ReadWholeFile(path.c_str(), kLargestLog, contents)) {
    return false;
  }
  for (const std::string& line : lines) contents += line + "\r\n";
  return files.WriteWholeFile(path.c_str(), contents);
}

std::string Joined(const std::vector<std::string>& args) {
  std::string text = "zelvar-deploy";
  for (const std::string& arg : args) text += " " + arg;
  return text;
}

}  // namespace

int RunDeploy(platform::Platform platform, const std::vector<std::string>& args,
              std::string& errorOutput) {
  std::vector<std::string> log{Joined(args)};
  DeployCommand command;
  std::string error;
  if (!ParseCommandLine(args, command, error) ||
      !CheckProductFolder(platform.files, command.folder, error)) {
    errorOutput = "zelvar-deploy: " + error + "\n" + kUsageText;
    log.push_back("bad arguments, nothing changed: " + error);
    log.push_back("exit 2");
    const std::string logPath = LogPathOf(args);
    if (!logPath.empty()) AppendToLog(platform.files, logPath, log);
    return kBadArguments;
  }
  Journal journal;
  switch (command.verb) {
    case Verb::Machine: DeployMachine(platform, command, journal); break;
    case Verb::User: DeployUser(platform, command, journal); break;
    case Verb::Remove: DeployRemove(platform, command, journal); break;
  }
  for (const std::string& line : journal.done) log.push_back("done: " + line);
  for (const std::string& line : journal.refused) {
    log.push_back("refused: " + line);
    errorOutput += "zelvar-deploy: refused: " + line + "\n";
  }
  int exitCode = journal.refused.empty() ? kDone : kRefused;
  log.push_back("exit " + std::to_string(exitCode));
  if (!command.logPath.empty() && !AppendToLog(platform.files, command.logPath, log)) {
    errorOutput += "zelvar-deploy: the log could not be written: " + command.logPath + "\n";
    exitCode = kRefused;
  }
  return exitCode;
}

}  // namespace deploy
