#include "ui/path_dialog.h"

#include <objbase.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "install/product_folder.h"
#include "ui/logic/folder_path_checks.h"
#include "ui/win_app.h"
#include "ui/window_dpi.h"
#include "ui/window_edge.h"

namespace ui {

namespace {

// The shell's allocator, released when it goes out of scope.
struct ReleaseMalloc {
  void operator()(IMalloc* allocator) const { allocator->Release(); }
};
using ShellAllocator = std::unique_ptr<IMalloc, ReleaseMalloc>;

// An item list the shell handed back, freed with the shell's allocator.
struct FreeItemList {
  IMalloc* allocator;
  void operator()(ITEMIDLIST* item) const { allocator->Free(item); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, FreeItemList>;

// The shell's browser needs COM in single-threaded apartment mode on the calling thread; a
// thread that already has COM keeps its own set-up.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

// The window a modal window started from `parent` belongs to: the first window above it that
// is not a child. With no parent, the window the user is working in (the setup dialog when
// Browse is clicked), so that it stays disabled while the chooser runs.
HWND SafeOwner(HWND parent) {
  HWND window = parent != nullptr ? parent : ::GetActiveWindow();
  while (window != nullptr && (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
    window = ::GetParent(window);
  }
  if (parent == nullptr && window != nullptr) {
    window = ::GetLastActivePopup(window);
  }
  return window;
}

const char* ApplicationTitle() {
  const CWinApp* app = AfxGetApp();
  return app != nullptr ? app->AppName() : "";
}

}  // namespace

CPathDialog::CPathDialog(const platform::Platform& platform, platform::MessageBoxes& messages,
                         const char* captionText,
                         const char* title, const char* initialFolder, HWND parent)
    : caption(captionText),
      initialPath(initialFolder),
      owner(SafeOwner(parent)),
      files_(platform.files),
      messages_(messages),
      madeAccess_(install::AccessOfMadeFolders(platform.processes)) {
  subclass.pathDialog = this;
  browseInfo.hwndOwner = owner;
  browseInfo.pidlRoot = nullptr;
  browseInfo.lpszTitle = title;
  // Only file-system folders can be confirmed; the status line reserves the room above the
  // tree where the path box goes.
  browseInfo.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  browseInfo.lpfn = &CPathDialog::BrowseCallback;
  browseInfo.lParam = reinterpret_cast<LPARAM>(this);
  browseInfo.iImage = 0;
}

int CPathDialog::DoModal() {
  // The browser writes the chosen item's display name here; nothing reads it.
  char displayName[MAX_PATH] = {};
  browseInfo.lpfn = &CPathDialog::BrowseCallback;
  browseInfo.lParam = reinterpret_cast<LPARAM>(this);
  browseInfo.pszDisplayName = displayName;

  int result = -1;
  const ComApartment com;
  IMalloc* rawAllocator = nullptr;
  if (FAILED(::SHGetMalloc(&rawAllocator)) || rawAllocator == nullptr) {
    browseInfo.pszDisplayName = nullptr;
    return result;
  }
  const ShellAllocator allocator(rawAllocator);

  confirmed = FALSE;
  {
    // The confirmed path is the one typed or picked in the path box, not the tree's item.
    const ItemList chosen(::SHBrowseForFolderA(&browseInfo), FreeItemList{allocator.get()});
  }
  if (confirmed) {
    result = IDOK;
  }
  browseInfo.pszDisplayName = nullptr;
  browseWindow = nullptr;
  return result;
}

std::string CPathDialog::GetPathName() const { return pathName; }

int CALLBACK CPathDialog::BrowseCallback(HWND window, UINT message, LPARAM parameter,
                                         LPARAM data) {
  auto* self = reinterpret_cast<CPathDialog*>(data);
  if (self == nullptr) return 0;
  // The browser expects 0 from every notification.
  return AnswerOrDefault(
      [&] {
        switch (message) {
          case BFFM_INITIALIZED:
            self->OnBrowserInitialized(window);
            break;
          case BFFM_SELCHANGED:
            self->OnSelectionChanged(window, reinterpret_cast<LPCITEMIDLIST>(parameter));
            break;
          default:
            break;
        }
        return 0;
      },
      [] { return 0; });
}

void CPathDialog::OnBrowserInitialized(HWND window) {
  browseWindow = window;
  if (caption != nullptr) {
    ::SetWindowTextA(window, caption);
  }
  subclass.SubclassWindow(window);

  // The path box takes the status line's place, between the title and the tree.
  ::ShowWindow(::GetDlgItem(window, kBrowserStatusId), SW_HIDE);
  RECT tree{};
  ::GetWindowRect(::GetDlgItem(window, kBrowserTreeId), &tree);
  const UINT dpi = WindowDpi(window);
  POINT topLeft{tree.left, tree.top - ScaledToDpi(kPathBoxTopAboveTree, dpi)};
  POINT bottomRight{tree.right, tree.top - ScaledToDpi(kPathBoxBottomAboveTree, dpi)};
  ::ScreenToClient(window, &topLeft);
  ::ScreenToClient(window, &bottomRight);

  const HWND pathBox = ::CreateWindowExA(
      WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
      topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y, window,
      nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (pathBox != nullptr) {
    ::SetWindowLongPtrA(pathBox, GWLP_ID, kPathBoxId);
    ::ShowWindow(pathBox, SW_SHOW);
    const LRESULT font = ::SendMessageA(window, WM_GETFONT, 0, 0);
    ::SendMessageA(pathBox, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  }

  // The preselection fills the path box through the selection change it causes.
  char currentFolder[MAX_PATH] = {};
  const char* start = initialPath;
  if (start == nullptr) {
    const std::uint32_t length = files_.GetCurrentFolder(MAX_PATH, currentFolder);
    // A current folder that did not fit the buffer is not preselected at all.
    if (length != 0 && length < MAX_PATH) start = currentFolder;
  }
  if (start != nullptr) {
    ::SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start));
  }
  // A folder that does not exist (yet) selects nothing, and the box stays empty while the
  // shell's own first selection left OK enabled: OK waits for a path.
  if (pathBox != nullptr && ::GetWindowTextLengthA(pathBox) == 0) {
    ::SendMessageA(window, BFFM_ENABLEOK, 0, 0);
  }
}

void CPathDialog::OnSelectionChanged(HWND window, LPCITEMIDLIST item) {
  char path[MAX_PATH] = {};
  // Only a path with a drive letter can be confirmed; network places and virtual folders
  // leave the box empty.
  const bool usable = item != nullptr && ::SHGetPathFromIDListA(item, path) && path[1] == ':';
  if (!usable) {
    path[0] = '\0';
  }
  ::SendMessageA(window, BFFM_ENABLEOK, 0, usable ? 1 : 0);
  const HWND pathBox = ::GetDlgItem(window, kPathBoxId);
  if (pathBox != nullptr) {
    ::SetWindowTextA(pathBox, path);
  }
}

MessageMap CPathDialogSub::GetMessageMap() const {
  static constexpr MessageMapEntry kMap[] = {
      OnButtonClicked<&CPathDialogSub::OnOkClicked>(IDOK),
      OnEditChanged<&CPathDialogSub::OnPathEditChange>(kPathBoxId),
  };
  return kMap;
}

void CPathDialogSub::OnOkClicked() {
  CPathDialog& dialog = *pathDialog;
  const CWnd pathBox(GetDlgItem(kPathBoxId));
  // The whole text is checked: a path too long for the buffer is refused, never cut.
  const std::string typed = pathBox.GetWindowText();
  // The browser is the active window now; the messages are modal to it.
  const FolderMessages messages{dialog.messages_, reinterpret_cast<platform::WindowRef>(m_hWnd),
                                ApplicationTitle()};
  if (MakeSureFolderExists(dialog.files_, messages, typed.c_str(), dialog.madeAccess_) !=
          FolderOk ||
      typed.size() >= sizeof dialog.pathName) {
    ::SetFocus(pathBox.GetSafeHwnd());
    return;
  }
  std::memcpy(dialog.pathName, typed.c_str(), typed.size() + 1);
  dialog.confirmed = TRUE;
  ::EndDialog(m_hWnd, IDOK);
}

void CPathDialogSub::OnPathEditChange() {
  CPathDialog& dialog = *pathDialog;
  ::GetWindowTextA(GetDlgItem(kPathBoxId), dialog.pathName, sizeof dialog.pathName);
  SendMessage(BFFM_ENABLEOK, 0, dialog.pathName[0] != '\0' ? 1 : 0);
}

}  // namespace ui
