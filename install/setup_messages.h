#pragma once

namespace install {

// The caption of every message box the installation shows.
inline constexpr const char* kSetupCaption = "Zelvar软件安装";

}  // namespace install

namespace install {

// Shown when the package's data files are not beside the program.
inline constexpr const char* kDataFolderMissingText =
    "未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !";

}  // namespace install
