#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "install/product_identity.h"
#include "platform/file_system.h"

namespace install {

// The record of the files the setup put into the product folder: a small text file there,
// written anew after every copy, which the uninstaller reads to remove those files and
// nothing else. Files the user added stay, and so does the folder that holds them.
//
// The record is input, not trust: anyone who can write the folder can change it, and an
// elevated uninstaller must not be steered by it. So every entry is checked before it is acted
// on: a plain name below the product folder, no drive, share, stream, "." or "..", nothing
// over the path limits, and (on disk) no link on the way.
//
// The text: the line "ZelvarInstallRecord 1", one line "F <name>" per file with the name
// relative to the product folder in UTF-8 (so a machine whose code page changes since still
// reads it), and the line "end". Lines end with CR LF. The file is kInstallRecordName.

// A record longer than this is not one the setup wrote: hundreds of files fit in a few KB.
inline constexpr std::size_t kInstallRecordLimit = 256 * 1024;

struct InstallRecord {
  // Names relative to the product folder, in the ANSI code page, each once.
  std::vector<std::string> files;

  bool Has(std::string_view name) const;  // letter case aside, as the file system compares
  void Add(std::string_view name);        // once
  void Remove(std::string_view name);
};

std::string FormatInstallRecord(const InstallRecord& record);

// Reads a record's text. False when it is not a whole record (no header, no end line, a line
// of another kind, text after the end): then nothing of it counts. Entries that do not name a
// file inside `productFolder` go to `refused` as they read (for the user to be told), the
// others to `record`.
bool ParseInstallRecord(std::string_view text, const std::string& productFolder,
                        InstallRecord& record, std::vector<std::string>& refused);

// Whether `entry` names something inside `productFolder` by its form alone: a relative path
// of valid names, none "." or "..", no drive, share or stream, no reserved device name, and the
// whole path within the narrow functions' limits.
bool IsEntryInside(std::string_view entry, const std::string& productFolder);

// Whether the path of `entry` below `productFolder` passes no link on disk: the product folder
// and every folder on the way down to the entry are real folders. The entry itself is not
// looked at.
bool ReachedWithoutLinks(platform::FileSystem& files, const std::string& productFolder,
                         std::string_view entry);

enum class RecordState {
  Missing,     // an installation made before the record existed
  Read,
  Unreadable,  // there, but not readable whole: nothing of it is acted on
};

struct RecordReading {
  RecordState state = RecordState::Missing;
  InstallRecord record;
  std::vector<std::string> refused;
};

// The record of the product folder.
RecordReading ReadInstallRecord(platform::FileSystem& files, const std::string& productFolder);

// Writes the record into the product folder, all or nothing.
bool WriteInstallRecord(platform::FileSystem& files, const std::string& productFolder,
                        const InstallRecord& record);

}  // namespace install
