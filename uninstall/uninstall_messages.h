#pragma once

namespace uninstall {

// The caption of every message box the uninstaller shows.
inline constexpr const char* kUninstallCaption = "Zelvar软件卸载";

inline constexpr const char* kConfirmText = "确定要卸载Zelvar批打印软件吗？";
inline constexpr const char* kCloseAutoCADText = "请关闭AutoCAD后再进行卸载 !";
inline constexpr const char* kDoneText = "Zelvar批打印软件已卸载完成 !";
// The uninstaller acts only on a product folder that an installed-apps entry names.
inline constexpr const char* kNoEntryText =
    "未找到Zelvar批打印软件的安装信息，无法卸载 !";
inline constexpr const char* kNotProductFolderText =
    "卸载程序不在Zelvar批打印软件的安装文件夹中，无法卸载 !";

// The end of an uninstallation that left something behind: the list, then why.
inline constexpr const char* kNotRemovedHeading = "以下内容未能删除：\n\n";
inline constexpr const char* kMoreNotRemoved = "……";
inline constexpr const char* kAutoCADRunningReason =
    "AutoCAD仍在运行：请关闭AutoCAD后再次卸载。";
inline constexpr const char* kNoRightsReason = "没有权限：请以管理员身份运行卸载程序。";
inline constexpr const char* kRunAgainText =
    "卸载程序和它在“应用”中的条目已保留，可再次卸载。";

}  // namespace uninstall
