#include "uninstall/removal_report.h"

#include "discovery/text_format.h"
#include "platform/built_in_text.h"
#include "uninstall/uninstall_messages.h"

namespace uninstall {
namespace {

void AddList(std::string& text, const std::vector<std::string>& items) {
  for (std::size_t k = 0; k < items.size() && k < kShownItems; ++k) {
    text += items[k];
    text += '\n';
  }
  if (items.size() > kShownItems) {
    text += ansi::BuiltIn(kMoreNotRemoved);
    text += '\n';
  }
}

// What stays on purpose, each in a paragraph of its own.
void AddNotes(const RemovalReport& report, std::string& text) {
  const auto paragraph = [&](const std::string& note) {
    if (!text.empty()) text += "\n\n";
    text += note;
  };
  if (!report.unreadableRecord.empty()) {
    paragraph(discovery::FormatText(ansi::BuiltIn(kUnreadableRecordFormat),
                                    report.unreadableRecord.c_str()));
  }
  if (!report.folderIsLink.empty()) {
    paragraph(
        discovery::FormatText(ansi::BuiltIn(kFolderIsLinkFormat), report.folderIsLink.c_str()));
  }
  if (!report.refusedEntries.empty()) {
    std::string list = ansi::BuiltIn(kRefusedEntriesHeading);
    AddList(list, report.refusedEntries);
    list.pop_back();
    paragraph(list);
  }
  if (!report.keptFolder.empty()) {
    paragraph(discovery::FormatText(ansi::BuiltIn(kKeptFolderFormat), report.keptFolder.c_str()));
  }
  if (!report.uninstallerLeft.empty()) {
    paragraph(discovery::FormatText(report.uninstallerGoesAtRestart
                                        ? ansi::BuiltIn(kUninstallerAtRestartFormat)
                                        : ansi::BuiltIn(kUninstallerLeftFormat),
                                    report.uninstallerLeft.c_str()));
  }
}

}  // namespace

void RemovalReport::Add(std::string what, RemovalRefused why) {
  notRemoved.push_back(std::move(what));
  switch (why) {
    case RemovalRefused::AutoCADRunning:
      autoCADRunning = true;
      break;
    case RemovalRefused::InUse:
      inUse = true;
      break;
    case RemovalRefused::NoRights:
      needsRights = true;
      break;
    case RemovalRefused::Other:
      break;
  }
}

void RemovalReport::AddWithError(std::string what, const std::string& errorText) {
  what += ansi::BuiltIn(kErrorSeparator);
  what += errorText;
  Add(std::move(what), RemovalRefused::Other);
}

std::string FinalMessage(const RemovalReport& report) {
  std::string text;
  if (report.Clean()) {
    text = ansi::BuiltIn(kDoneText);
  } else {
    text = ansi::BuiltIn(kNotRemovedHeading);
    AddList(text, report.notRemoved);
    text += '\n';
    if (report.autoCADRunning) {
      text += ansi::BuiltIn(kAutoCADRunningReason);
      text += '\n';
    }
    if (report.inUse) {
      text += ansi::BuiltIn(kInUseReason);
      text += '\n';
    }
    if (report.needsRights) {
      text += ansi::BuiltIn(kNoRightsReason);
      text += '\n';
    }
    text += ansi::BuiltIn(kRunAgainText);
  }
  AddNotes(report, text);
  return text;
}

}  // namespace uninstall
