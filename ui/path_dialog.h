#pragma once

#include <windows.h>

#include <shlobj.h>

#include <string>

#include "platform/message_boxes.h"
#include "platform/platform.h"
#include "ui/wnd.h"

namespace ui {

// Controls of the shell's folder browser (the classic one, without the new dialog style), and
// the path box the chooser adds in place of the status line.
inline constexpr int kBrowserTreeId = 14145;
inline constexpr int kBrowserStatusId = 14147;
inline constexpr int kPathBoxId = 14148;

// Where the path box sits at 100 %: above the folder tree, 23 pixels high, ending 4 pixels above
// it. At another DPI both scale with the browser's DPI, as the browser's own layout does.
inline constexpr int kPathBoxTopAboveTree = 27;
inline constexpr int kPathBoxBottomAboveTree = 4;

class CPathDialog;

// Takes the browser's OK and the path box's changes before the shell sees them.
class CPathDialogSub : public CWnd {
 public:
  CPathDialog* pathDialog = nullptr;

 protected:
  MessageMap GetMessageMap() const override;

  // Checks the typed path, offers to create what is missing, and closes the browser only
  // when the folder is there; otherwise the focus goes back to the path box.
  void OnOkClicked();
  // OK is possible while the path box holds any text.
  void OnPathEditChange();
};

// The folder chooser: the shell's folder browser with an editable path above the tree, so a
// folder can be picked or typed, one that does not exist yet included. The browser only
// closes with OK once the path is of the form "X:\..." and the folder exists.
class CPathDialog {
 public:
  // `caption` goes into the browser's title bar and `title` above the tree; `initialPath` is
  // preselected (none: the current folder). The texts must stay alive while DoModal runs;
  // caption and initial path may be null. The questions and messages go through `messages`,
  // the folders are made through `platform`'s file system.
  CPathDialog(const platform::Platform& platform, platform::MessageBoxes& messages,
              const char* caption, const char* title,
              const char* initialPath, HWND parent = nullptr);
  virtual ~CPathDialog() = default;
  CPathDialog(const CPathDialog&) = delete;
  CPathDialog& operator=(const CPathDialog&) = delete;

  // IDOK once a path was confirmed; -1 when the browser was cancelled or closed, or could not
  // be run at all.
  virtual int DoModal();

  // The confirmed path, exactly as typed or picked; meaningful after DoModal answered IDOK.
  std::string GetPathName() const;

  static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data);

  const char* caption;
  const char* initialPath;
  char pathName[MAX_PATH] = {};
  BROWSEINFOA browseInfo{};
  HWND browseWindow = nullptr;
  HWND owner;
  BOOL confirmed = FALSE;
  CPathDialogSub subclass;

 private:
  friend class CPathDialogSub;

  void OnBrowserInitialized(HWND window);
  void OnSelectionChanged(HWND window, LPCITEMIDLIST item);

  platform::FileSystem& files_;
  platform::MessageBoxes& messages_;
  // What the folders the chooser makes get: those the installation makes get the same.
  platform::FolderAccess madeAccess_;
};

}  // namespace ui
