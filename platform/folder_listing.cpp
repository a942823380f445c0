#include "platform/folder_listing.h"

#include <string>

namespace platform {

std::vector<FindData> ListFolder(FileSystem& files, std::string_view folder) {
  std::vector<FindData> entries;
  const std::string pattern = std::string(folder) + "\\*";
  FindHandle listing;
  FindData entry;
  for (bool more = files.FindFirst(pattern.c_str(), listing, entry); more;
       more = files.FindNext(listing, entry)) {
    if (entry.fileName != "." && entry.fileName != "..") entries.push_back(entry);
  }
  return entries;
}

}  // namespace platform
