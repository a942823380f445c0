// The folder a command names must be this product's before anything is registered for it:
// a demand-load key or a trusted path naming some other folder would make AutoCAD load
// whatever lies there.

#include "deploy/verbs.h"

#include "install/owned_places.h"

namespace deploy {

bool CheckProductFolder(platform::FileSystem& files, const std::string& folder,
                        std::string& error) {
  namespace attr = platform::attr;
  const std::uint32_t attributes = files.GetAttributes(folder.c_str());
  const std::string tool = install::InFolder(folder, install::kDeployToolName);
  const std::uint32_t toolAttributes = files.GetAttributes(tool.c_str());
  if (attributes == attr::kInvalid || (attributes & attr::kDirectory) == 0) {
    error = "the folder does not exist: " + folder;
  } else if ((attributes & attr::kReparsePoint) != 0) {
    error = "the folder is a link: " + folder;
  } else if (toolAttributes == attr::kInvalid || (toolAttributes & attr::kDirectory) != 0) {
    error = std::string("the folder holds no ") + install::kDeployToolName + ": " + folder;
  } else {
    return true;
  }
  return false;
}

}  // namespace deploy
