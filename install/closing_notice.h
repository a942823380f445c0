#pragma once

#include <string>
#include <vector>

namespace install {

// What went wrong around an installation whose package and registration are in place, so that
// nothing fails in silence: the setup still ends in its finished look, but says this first.
struct ClosingProblems {
  std::string productFolder;
  // The system's texts of the errors, empty where nothing failed.
  std::string protectionError;  // `unprotectedFolder` kept the DACL it inherited
  std::string unprotectedFolder;
  std::string recordError;      // the record of installed files could not be written
  std::string entryError;       // installed apps refused the entry
  std::string activeSetupError;  // Active Setup refused the component for the other users
  // An earlier installation in another folder that could not be taken out whole.
  std::string earlierFolder;
  std::vector<std::string> earlierLeftovers;
  std::string earlierKeptFolder;  // it holds what the setup did not put there, and stays

  bool Any() const {
    return !protectionError.empty() || !recordError.empty() || !entryError.empty() ||
           !activeSetupError.empty() ||
           !earlierLeftovers.empty() || !earlierKeptFolder.empty();
  }
};

// The paragraph for a folder that kept the entries it inherited, with the system's text.
std::string FolderLeftOpenText(const std::string& folder, const std::string& errorText);

// The notice, one paragraph per problem; empty when there is none.
std::string ClosingNotice(const ClosingProblems& problems);

}  // namespace install
