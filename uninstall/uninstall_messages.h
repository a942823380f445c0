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
inline constexpr const char* kInUseReason =
    "文件正被其他程序使用：请关闭AutoCAD或占用文件的程序后再次卸载。";
// Between an item and the system's text of the error that kept it.
inline constexpr const char* kErrorSeparator = "：";
inline constexpr const char* kRunAgainText =
    "卸载程序和它在“应用”中的条目已保留，可再次卸载。";

// What stays on purpose, after "removed" or the list of what could not be removed.
inline constexpr const char* kKeptFolderFormat =
    "文件夹 %s 中有不是安装程序放入的文件或文件夹，已保留。";
inline constexpr const char* kUnreadableRecordFormat =
    "安装记录 %s 无法完整读取，安装文件夹中的文件均未删除，请手动删除该文件夹。";
inline constexpr const char* kFolderIsLinkFormat =
    "安装文件夹 %s 是指向其他位置的链接，其中的文件均未删除。";
inline constexpr const char* kRefusedEntriesHeading =
    "安装记录中的以下条目指向安装文件夹以外的位置，未作处理：\n";
inline constexpr const char* kUninstallerLeftFormat =
    "卸载程序 %s 正在运行，无法删除它自己，请在卸载结束后手动删除。";
inline constexpr const char* kUninstallerAtRestartFormat =
    "卸载程序 %s 正在运行，无法删除它自己，Windows下次启动时将删除它。";

// An installation for every user of the machine is removed only with administrator rights;
// without them nothing is changed.
inline constexpr const char* kNeedsAdministratorText =
    "Zelvar批打印软件是为这台电脑的所有用户安装的，卸载它需要管理员权限。\n\n"
    "未做任何更改。请以管理员身份运行卸载程序。";

}  // namespace uninstall
