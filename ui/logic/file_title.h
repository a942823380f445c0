#pragma once

#include <string>
#include <string_view>

namespace ui {

// A program file's name without its folder and extension: "D:\Setup\SetUp.exe" -> "SetUp".
// The folder ends at the last backslash that is a character of its own, so a name whose
// double-byte character has a backslash as its second byte stays whole.
std::string FileTitle(std::string_view path);

}  // namespace ui
