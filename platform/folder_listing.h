#pragma once

#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace platform {

// The entries of `folder`, without "." and "..", in the order the listing gives them: listed
// whole before the caller acts, since a listing is not promised to survive changes to its
// folder. Empty when the folder cannot be listed.
std::vector<FindData> ListFolder(FileSystem& files, std::string_view folder);

}  // namespace platform
