// Win32FileSystem's own part: the listing handle it wraps.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_file_system.h"

namespace platform {
namespace {

std::string SystemFolderPattern() {
  char system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(system, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(system) + "\\*.dll" : std::string();
}

// A FindFirstFileA handle is no kernel handle (Wine cannot count it), so what is checked is
// that a listing lives on in the handle it moved to and that a failed search leaves none.
TEST(Win32FileSystem, AListingMovesWithItsHandleAndAFailedSearchLeavesNone) {
  Win32FileSystem files;
  const std::string pattern = SystemFolderPattern();
  ASSERT_FALSE(pattern.empty());
  FindHandle first;
  FindData data;
  ASSERT_TRUE(files.FindFirst(pattern.c_str(), first, data));
  FindHandle moved = std::move(first);
  EXPECT_FALSE(files.FindNext(first, data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(files.FindNext(moved, data));

  EXPECT_FALSE(files.FindFirst((pattern + "\\").c_str(), moved, data));
  EXPECT_FALSE(moved.IsOpen());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Win32FileSystem, FindNextRefusesAListingOfAnotherFileSystem) {
  Win32FileSystem files;
  Win32FileSystem other;
  FindHandle listing;
  FindData data;
  ASSERT_TRUE(other.FindFirst(SystemFolderPattern().c_str(), listing, data));
  EXPECT_FALSE(files.FindNext(listing, data));
  EXPECT_TRUE(other.FindNext(listing, data));
}

}  // namespace
}  // namespace platform
