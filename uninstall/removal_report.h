#pragma once

#include <string>
#include <vector>

namespace uninstall {

// Why something could not be removed, as far as the uninstaller can tell.
enum class RemovalRefused { NoRights, AutoCADRunning };

// What an uninstallation could not remove, in the order it was met.
struct RemovalReport {
  std::vector<std::string> notRemoved;
  bool needsRights = false;
  bool autoCADRunning = false;

  void Add(std::string what, RemovalRefused why);
  bool Clean() const { return notRemoved.empty(); }
};

// The final message: done, or the list (at most kShownItems lines) and the reasons.
std::string FinalMessage(const RemovalReport& report);

inline constexpr std::size_t kShownItems = 15;

}  // namespace uninstall
