#pragma once

namespace install {

// The caption of every message box the installation shows.
inline constexpr const char* kSetupCaption = "Zelvar软件安装";

}  // namespace install
