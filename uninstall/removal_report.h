#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace uninstall {

// Why something could not be removed, as far as the uninstaller can tell.
enum class RemovalRefused {
  NoRights,        // access denied: run the uninstaller as administrator
  AutoCADRunning,  // access denied while AutoCAD runs: it holds the file
  InUse,           // a sharing or lock violation: a program holds the file open
  Other,           // anything else, named with the system's text
};

// What an uninstallation could not remove, in the order it was met, and what it left on
// purpose.
struct RemovalReport {
  std::vector<std::string> notRemoved;
  bool needsRights = false;
  bool autoCADRunning = false;
  bool inUse = false;

  // The product folder, where it stays because it holds what the setup did not put there.
  std::string keptFolder;
  // The record of installed files could not be read whole: the product folder's files stay.
  std::string unreadableRecord;
  // The product folder is itself a link to elsewhere: nothing in it is touched.
  std::string folderIsLink;
  // Entries of the record that name something outside the product folder: never acted on.
  std::vector<std::string> refusedEntries;
  // The uninstaller's own running file, where it could not go with the rest, and whether
  // Windows deletes it at its next start.
  std::string uninstallerLeft;
  bool uninstallerGoesAtRestart = false;

  void Add(std::string what, RemovalRefused why);
  // `what`, followed by the system's text of the error that refused it.
  void AddWithError(std::string what, const std::string& errorText);
  bool Clean() const { return notRemoved.empty(); }
  // Whether the final message has anything beyond "removed" to say.
  bool HasNotes() const {
    return !keptFolder.empty() || !unreadableRecord.empty() || !folderIsLink.empty() ||
           !refusedEntries.empty() || !uninstallerLeft.empty();
  }
};

// The final message: done, or the list (at most kShownItems lines) and the reasons; then
// what stays on purpose and why.
std::string FinalMessage(const RemovalReport& report);

inline constexpr std::size_t kShownItems = 15;


}  // namespace uninstall
