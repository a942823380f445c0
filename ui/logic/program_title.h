#pragma once

#include <string>
#include <string_view>

namespace ui {

// The name of a program file without its folder and extension, which the application takes as
// its title when it is given none: "D:\Setup\SetUp.exe" gives "SetUp". Only separators that
// are characters of their own count, so a file named with a character whose second byte is
// 0x5C keeps its whole name.
std::string ProgramTitleOf(std::string_view modulePath);

}  // namespace ui
