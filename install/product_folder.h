#pragma once

#include <string>
#include <vector>

#include "install/product_identity.h"
#include "platform/file_system.h"
#include "platform/platform.h"

namespace install {

// A folder the installation can be placed below: a drive ("C:" or "C:\...") or a share
// ("\\server\share..."). A relative or empty folder would land wherever the program happens
// to run.
bool IsAbsoluteFolder(const std::string& folder);

// A folder path the setup can create and work in: it fits the program's path buffers (259
// bytes) and is short enough for Windows to create it (under 248 characters). The chosen
// folder is shorter than the product folder below it, so checking the product folder
// checks both.
bool FolderCanBeMade(const std::string& folder);

// A folder AutoCAD can be told to trust: TRUSTEDPATHS separates its entries with ';', so a
// folder holding one would be trusted as two others (the one above it among them).
bool FolderFitsTrustedPaths(const std::string& folder);

// Makes an absolute folder and every missing folder above it, one level at a time from the
// drive or share down, as the folder chooser does: "D:\工具\CAD" where "D:\工具" is missing
// gets both. Levels that exist already are left as they are. True when the folder exists
// afterwards. `made`, where given, receives the levels this call made, from the top down.
bool MakeFolderLevels(platform::FileSystem& files, const std::string& folder,
                      std::vector<std::string>* made = nullptr);

// The entries a folder made for the product gets, which match where the registration goes:
// with administrator rights every user may read and run it, without them it is the current
// user's alone.
platform::FolderAccess AccessOfMadeFolders(platform::ProcessList& processes);

// A folder the setup made, or the product folder, kept the entries it inherited: the first
// one Windows refused, with the error. Made above the product folder, it would keep those of
// the folder it was made in, and on a system drive they let any user rename it
// ("Authenticated Users" may modify what is made below C:\) and put a folder of their own with
// the same name in its place, whose modules the registered AutoCAD then loads.
struct FolderLeftOpen {
  std::string folder;
  std::uint32_t error = 0;
};

// Gives each of `folders` the entries of `access`, with SetNamedSecurityInfoA's protection
// from what is above; every one is tried.
FolderLeftOpen CloseFolders(platform::FileSystem& files, const std::vector<std::string>& folders,
                            platform::FolderAccess access);

}  // namespace install
