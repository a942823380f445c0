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
//   today    KEY  VALUE            check: REG_SZ value YYYYMMDD naming today (or yesterday, for
//                                  a run across midnight) by the machine's clock
//   nokey    KEY                   check: the key does not exist
//   values   KEY  N                check: the key holds exactly N values
//   loader-trusted KEY PROFILE     check: KEY's LOADER names a file that exists, and the
//                                  PROFILE key's TRUSTEDPATHS holds that file's folder
//   hold     PATH                  prepare: the file is held open without sharing until the
//                                  driver ends, so every write to it is refused
//   deny-values KEY                prepare: the key's security refuses setting values
//   link     PATH  TARGET          prepare: PATH becomes a link to the folder TARGET (a Unix
//                                  symbolic link, which Wine shows as a junction)
//   acad-view PRODUCT NAME LOCATION [TRUSTED]   check, as AutoCAD sees it at its start: the
//                                  demand-load key NAME found first (the user's product key
//                                  before HKLM\PRODUCT) loads at start-up a module that exists;
//                                  that module's folder lies below TRUSTED (a folder the
//                                  release trusts by itself), or else every profile of the
//                                  user's product key trusts it; both shape fonts are found
//                                  along the default support path (the user's
//                                  RoamableRootFolder\Support, then LOCATION\Fonts) and the
//                                  first found is the package's
namespace e2e {

// False when the file cannot be read or a line is not understood; each item is a check.
bool PrepareMachine(const std::string& file, Report& report);
bool CheckMachine(const std::string& file, Report& report);

}  // namespace e2e
