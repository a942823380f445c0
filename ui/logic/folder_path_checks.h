#pragma once

#include <cstddef>
#include <string_view>

#include "platform/file_system.h"
#include "platform/message_boxes.h"

namespace ui {

// What the folder chooser's checks of a path answer.
inline constexpr int FolderOk = 0;
// The form of the path is not accepted.
inline constexpr int FolderInvalid = 1;
// A folder of the path does not exist and could not be created.
inline constexpr int FolderNotCreated = 2;
// The user declined to create the missing folder (only MakeSureFolderExists answers this).
inline constexpr int FolderDeclined = -1;

// The longest path the chooser accepts: what fits a MAX_PATH buffer with its terminator.
inline constexpr std::size_t kMaxFolderPathLength = platform::kMaxPath - 1;

// Where the chooser's questions and complaints go: the program's message boxes, modal to
// `owner`, with the application's title as caption.
struct FolderMessages {
  platform::MessageBoxes& boxes;
  platform::WindowRef owner;
  const char* caption;
};

// 1 when `name` may be one folder of a path, else 0. Refused: an empty name; a name that
// begins or ends with a tab, a space or a full stop; a name holding any of  " * / : < > ? \ |
// as a character of its own. A Chinese character whose second byte is 0x5C or 0x7C is one
// character, not a backslash or a bar. Everything else passes, control bytes included.
int IsValidFolderName(std::string_view name);

// Checks the form "X:\folder\folder..." (any letter, either case) and, unless checkOnly,
// creates the folders of the path one level at a time from the top. A missing path, one that
// is shorter than "X:\" or longer than kMaxFolderPathLength bytes, an empty folder name (a
// doubled backslash) and a trailing backslash are FolderInvalid. With checkOnly nothing is
// touched and the answer is FolderOk or FolderInvalid; otherwise a folder that is still
// missing after the attempt to create it is FolderNotCreated, and the folders made above it
// stay. A drive root alone is only tested for existence.
int CheckFolderPath(platform::FileSystem& files, const char* path, bool checkOnly);

// What OK in the chooser runs: a path of the right form that exists (a file of that name
// counts) is FolderOk at once; a missing one is offered for creation (Yes / No) and created
// after Yes. An invalid form and a failed creation are reported in a message box; a No
// answers FolderDeclined without one.
//
// The folders it makes get the entries of `madeAccess` (Inherited leaves them as made), as
// the installation's own do; where Windows refuses, a message says which folder stayed open.
int MakeSureFolderExists(platform::FileSystem& files, const FolderMessages& messages,
                         const char* path,
                         platform::FolderAccess madeAccess = platform::FolderAccess::Inherited);

}  // namespace ui
