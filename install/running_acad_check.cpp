#include "install/running_acad_check.h"

#include <string>

#include "platform/ansi_text.h"

namespace install {

// A substring match, so that renamed launchers such as "myacad.exe" count as AutoCAD too.
bool IsAutoCADRunning(platform::ProcessList& processes) {
  const std::string searchName = ansi::ToLower("acad.exe");
  platform::ProcessSnapshot snapshot;
  if (!processes.TakeSnapshot(snapshot)) {
    return false;
  }
  platform::ProcessEntry entry;
  for (bool more = processes.First(snapshot, entry); more;
       more = processes.Next(snapshot, entry)) {
    if (ansi::FindText(ansi::ToLower(entry.exeFile), searchName) != std::string::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace install
