#pragma once

#include <string>

#include "tests/e2e/driver/report.h"

// Files and registry values of the prefix, set up before a run and checked after it, from
// small UTF-8 text files kept with the scenarios. One item per line, fields separated by tabs,
// "#" starts a comment line; %NAME% in paths is an environment variable:
//
//   folder   PATH                  a folder (prepare: made with its parents; check: exists)
//   file     PATH  [TEXT]          a file (prepare: written with TEXT; check: exists with its
//                                  name in exactly this case, and holds TEXT if given)
//   readonly PATH                  prepare: the file is made read-only; check: it is read-only
//   writable PATH                  check: the file exists and is not read-only
//   missing  PATH                  check: nothing of that name
//   changed  PATH  TEXT            check: the file exists and no longer holds TEXT
//   sz       KEY  VALUE  TEXT      check: REG_SZ value (KEY starts with HKLM\ or HKCU\)
//   dword    KEY  VALUE  NUMBER    check: REG_DWORD value
//   nokey    KEY                   check: the key does not exist
//   values   KEY  N                check: the key holds exactly N values
//   loader-trusted KEY PROFILE     check: KEY's LOADER names a file that exists, and the
//                                  PROFILE key's TRUSTEDPATHS holds that file's folder
namespace e2e {

// False when the file cannot be read or a line is not understood; each item is a check.
bool PrepareMachine(const std::string& file, Report& report);
bool CheckMachine(const std::string& file, Report& report);

}  // namespace e2e
