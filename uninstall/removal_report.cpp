#include "uninstall/removal_report.h"

#include "uninstall/uninstall_messages.h"

namespace uninstall {

void RemovalReport::Add(std::string what, RemovalRefused why) {
  notRemoved.push_back(std::move(what));
  if (why == RemovalRefused::AutoCADRunning) {
    autoCADRunning = true;
  } else {
    needsRights = true;
  }
}

std::string FinalMessage(const RemovalReport& report) {
  if (report.Clean()) {
    return kDoneText;
  }
  std::string text = kNotRemovedHeading;
  for (std::size_t k = 0; k < report.notRemoved.size() && k < kShownItems; ++k) {
    text += report.notRemoved[k];
    text += '\n';
  }
  if (report.notRemoved.size() > kShownItems) {
    text += kMoreNotRemoved;
    text += '\n';
  }
  text += '\n';
  if (report.autoCADRunning) {
    text += kAutoCADRunningReason;
    text += '\n';
  }
  if (report.needsRights) {
    text += kNoRightsReason;
    text += '\n';
  }
  text += kRunAgainText;
  return text;
}

}  // namespace uninstall
