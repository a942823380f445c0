// The folder chooser in this process, on the shell's real folder browser: where the path box
// sits, what picking and typing do, what OK asks and refuses, and the setup dialog's Browse.
// The chooser runs modally, so each test drives it with a script of steps that a timer of
// this thread runs inside the modal loops. Runs under an X server of its own.
//
// With SETUP_SCREENSHOT_DIR set, the steps that show a new look of the chooser write a
// picture of the screen there (name.bmp).

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "discovery/installation_inventory.h"
#include "platform/memory/memory_platform.h"
#include "platform/win32/win32_platform.h"
#include "tests/support/forwarding_file_system.h"
#include "ui/path_dialog.h"
#include "ui/resource_ids.h"
#include "ui/setup_dialog.h"
#include "ui/win_app.h"

namespace {

constexpr const char* kChooseFolder = "请选择安装目录：";
constexpr const char* kAppTitle = "SetUp";
constexpr ULONGLONG kScriptTimeoutMs = 30000;
// The text control of a message box.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string TextOf(HWND window) {
  char text[1024] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Writes the whole screen as a 24-bit BMP into SETUP_SCREENSHOT_DIR, when that is set.
void SaveScreenshot(const char* name) {
  char folder[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableA("SETUP_SCREENSHOT_DIR", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  ::GdiFlush();
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  const HDC screen = ::GetDC(nullptr);
  const HDC memoryDc = ::CreateCompatibleDC(screen);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = ::SelectObject(memoryDc, bitmap);
  ::BitBlt(memoryDc, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
  ::SelectObject(memoryDc, previous);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<char> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
  ::GetDIBits(memoryDc, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memoryDc);
  ::ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  const std::string path = std::string(folder) + "\\" + name + ".bmp";
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
  }
}

struct OwnedDialogSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK MatchOwnedDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<OwnedDialogSearch*>(data);
  if (::IsWindowVisible(window) && ClassOf(window) == "#32770" &&
      ::GetWindow(window, GW_OWNER) == search->owner) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A visible message box (or other dialog) of this thread owned by `owner`.
HWND FindOwnedDialog(HWND owner) {
  OwnedDialogSearch search{owner, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), &MatchOwnedDialog,
                      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Clicks the way out of a dialog of this thread: No, else Cancel, else OK.
BOOL CALLBACK AnswerNo(HWND window, LPARAM) {
  // Only the innermost dialog is enabled; the ones under it wait their turn.
  if (ClassOf(window) != "#32770" || !::IsWindowEnabled(window)) return TRUE;
  for (int id : {IDNO, IDCANCEL, IDOK}) {
    const HWND button = ::GetDlgItem(window, id);
    if (button != nullptr && ::IsWindowVisible(button) && ::IsWindowEnabled(button)) {
      ::PostMessageA(button, BM_CLICK, 0, 0);
      break;
    }
  }
  return TRUE;
}

// Steps run one after another by a timer of this thread, so that they run inside whatever
// modal loop is going on; a step answers false while what it waits for is not there yet.
// When the steps take too long, every dialog of the thread is closed so the test ends.
class Script {
 public:
  using Step = std::function<bool()>;

  explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) {
    running_ = this;
    started_ = ::GetTickCount64();
    timer_ = ::SetTimer(nullptr, 0, 60, &Script::Tick);
  }
  ~Script() {
    ::KillTimer(nullptr, timer_);
    running_ = nullptr;
  }
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

  bool Finished() const { return next_ == steps_.size() && !timedOut_; }
  std::size_t StepsDone() const { return next_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script* self = running_;
    if (self == nullptr || self->busy_) return;
    if (self->timedOut_) {
      // One dialog at a time goes, the innermost first, until the test's own call returns.
      CloseEverything();
      return;
    }
    self->busy_ = true;
    if (self->next_ < self->steps_.size()) {
      if (self->steps_[self->next_]()) ++self->next_;
    }
    if (self->next_ < self->steps_.size() &&
        ::GetTickCount64() - self->started_ > kScriptTimeoutMs) {
      ADD_FAILURE() << "step " << self->next_ << " did not come true in time";
      self->timedOut_ = true;
    }
    self->busy_ = false;
  }

  // Answers every message box with its "no" button, then cancels the dialogs under them.
  static void CloseEverything() { ::EnumThreadWindows(::GetCurrentThreadId(), &AnswerNo, 0); }

  static inline Script* running_ = nullptr;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  bool busy_ = false;
  bool timedOut_ = false;
  ULONGLONG started_ = 0;
  UINT_PTR timer_ = 0;
};

// A click as the user makes it; posted, so a message box it opens runs in the modal loop and
// not inside the step.
void PostClick(HWND dialog, int id) { ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// The in-memory file system, except that asking for the current folder fails as an exhausted
// allocator would.
class CurrentFolderThrows final : public test_support::ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  int thrown = 0;

  std::uint32_t GetCurrentFolder(std::uint32_t, char*) override {
    ++thrown;
    throw std::bad_alloc();
  }
};

class PathDialogTest : public ::testing::Test {
 protected:
  HWND Browser() const { return ::FindWindowA("#32770", kChooseFolder); }
  static HWND PathBox(HWND window) { return ::GetDlgItem(window, ui::kPathBoxId); }
  static bool OkEnabled(HWND window) { return ::IsWindowEnabled(::GetDlgItem(window, IDOK)); }

  // Waits for the chooser's browser window and checks it is the one the chooser recorded.
  Script::Step BrowserOpens(ui::CPathDialog& chooser, HWND& window) {
    return [this, &chooser, &window] {
      window = Browser();
      if (window == nullptr || !::IsWindowVisible(window)) return false;
      EXPECT_EQ(window, chooser.browseWindow);
      return true;
    };
  }

  // Waits for the path box to show `expected`, the preselection or a picked folder.
  static Script::Step PathBoxShows(HWND& window, std::string expected) {
    return [&window, expected] {
      return ::lstrcmpiA(TextOf(PathBox(window)).c_str(), expected.c_str()) == 0;
    };
  }

  static Script::Step Type(HWND& window, std::string text) {
    return [&window, text] {
      ::SetWindowTextA(PathBox(window), text.c_str());
      return true;
    };
  }

  static Script::Step ClickOk(HWND& window) {
    return [&window] {
      PostClick(window, IDOK);
      return true;
    };
  }

  // OK of the browser is enabled, or not.
  static Script::Step OkIs(HWND& window, bool enabled) {
    return [&window, enabled] {
      EXPECT_EQ(OkEnabled(window), enabled);
      return true;
    };
  }

  static Script::Step Cancel(HWND& window) {
    return [&window] {
      PostClick(window, IDCANCEL);
      return true;
    };
  }

  // Waits for a message box over the chooser, checks its text and buttons, pictures it and
  // answers it.
  static Script::Step Answer(HWND& window, std::string text, std::vector<int> buttons,
                             int answer, const char* screenshot) {
    return [&window, text, buttons, answer, screenshot] {
      const HWND box = FindOwnedDialog(window);
      if (box == nullptr) return false;
      EXPECT_EQ(TextOf(box), kAppTitle);
      EXPECT_EQ(TextOf(::GetDlgItem(box, kMessageBoxTextId)), text);
      for (int id : {IDOK, IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE}) {
        const HWND button = ::GetDlgItem(box, id);
        const bool wanted = std::find(buttons.begin(), buttons.end(), id) != buttons.end();
        EXPECT_EQ(button != nullptr && ::IsWindowVisible(button), wanted) << "button " << id;
      }
      EXPECT_FALSE(::IsWindowEnabled(window)) << "the message is modal to the chooser";
      ::UpdateWindow(box);
      SaveScreenshot(screenshot);
      ::SendMessageA(::GetDlgItem(box, answer), BM_CLICK, 0, 0);
      return true;
    };
  }

  // After a refused OK: the chooser is still there, with the focus in the path box.
  static Script::Step StaysOpenWithFocusInThePathBox(HWND& window) {
    return [&window] {
      if (FindOwnedDialog(window) != nullptr || !::IsWindowEnabled(window)) return false;
      EXPECT_TRUE(::IsWindowVisible(window));
      EXPECT_EQ(::GetFocus(), PathBox(window));
      return true;
    };
  }

  ui::CWinApp app{kAppTitle};
  platform::Win32Platform win32;
  platform::MemoryPlatform memory;
  HWND browser = nullptr;
};

std::string FolderMessage(const std::string& path, const char* verdict) {
  return "The folder:\n\n" + path + "\n\n" + verdict;
}

// ---- The look -----------------------------------------------------------------------------

TEST_F(PathDialogTest, PutsThePathBoxAboveTheTreeInPlaceOfTheStatusLine) {
  ui::CPathDialog chooser(win32.Get(), win32.messages, kChooseFolder, kChooseFolder, "C:\\windows");
  Script script({
      BrowserOpens(chooser, browser),
      PathBoxShows(browser, "C:\\windows"),
      [&] {
        EXPECT_EQ(TextOf(browser), kChooseFolder) << "the caption replaces the shell's";
        const HWND box = PathBox(browser);
        const HWND tree = ::GetDlgItem(browser, ui::kBrowserTreeId);
        const HWND status = ::GetDlgItem(browser, ui::kBrowserStatusId);
        EXPECT_EQ(ClassOf(box), "Edit");
        EXPECT_EQ(::GetParent(box), browser);
        EXPECT_TRUE(::IsWindowVisible(box));
        EXPECT_NE(tree, nullptr);
        EXPECT_NE(status, nullptr);
        EXPECT_FALSE(::IsWindowVisible(status)) << "the status line is hidden";

        const LONG_PTR style = ::GetWindowLongPtrA(box, GWL_STYLE);
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL),
                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL);
        EXPECT_NE(::GetWindowLongPtrA(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

        RECT boxRect{}, treeRect{};
        ::GetWindowRect(box, &boxRect);
        ::GetWindowRect(tree, &treeRect);
        EXPECT_EQ(boxRect.left, treeRect.left);
        EXPECT_EQ(boxRect.right, treeRect.right);
        EXPECT_EQ(boxRect.top, treeRect.top - 27);
        EXPECT_EQ(boxRect.bottom, treeRect.top - 4);
        EXPECT_EQ(::SendMessageA(box, WM_GETFONT, 0, 0), ::SendMessageA(browser, WM_GETFONT, 0, 0));
        EXPECT_TRUE(OkEnabled(browser));
        ::RedrawWindow(browser, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SaveScreenshot("chooser");
        return true;
      },
      Cancel(browser),
  });
  EXPECT_EQ(chooser.DoModal(), -1);
  EXPECT_TRUE(script.Finished());
  EXPECT_FALSE(chooser.confirmed);
}

TEST_F(PathDialogTest, PickingInTheTreeFillsThePathBoxAndAPlaceWithoutDriveEmptiesIt) {
  ui::CPathDialog chooser(win32.Get(), win32.messages, kChooseFolder, kChooseFolder, "C:\\windows\\system32");
  HWND tree = nullptr;
  const auto selectParent = [&] {
    tree = ::GetDlgItem(browser, ui::kBrowserTreeId);
    const auto selected = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    const auto parent = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(selected)));
    EXPECT_NE(parent, nullptr);
    ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(parent));
    return true;
  };
  Script script({
      BrowserOpens(chooser, browser),
      PathBoxShows(browser, "C:\\windows\\system32"),
      selectParent,
      PathBoxShows(browser, "C:\\windows"),
      OkIs(browser, true),
      selectParent,
      PathBoxShows(browser, "C:\\"),
      // Above the drive: the computer itself, which has no file-system path.
      selectParent,
      [&] {
        if (!TextOf(PathBox(browser)).empty()) return false;
        EXPECT_FALSE(OkEnabled(browser));
        SaveScreenshot("computer-picked");
        return true;
      },
      // Typing enables OK again; emptying the box disables it.
      Type(browser, "C:\\x"),
      OkIs(browser, true),
      Type(browser, ""),
      OkIs(browser, false),
      Cancel(browser),
  });
  EXPECT_EQ(chooser.DoModal(), -1);
  EXPECT_TRUE(script.Finished());
}

TEST_F(PathDialogTest, StartingFromAMissingFolderLeavesTheBoxEmptyAndOkDisabled) {
  ASSERT_FALSE(FolderExists("C:\\Zelvar"));
  ui::CPathDialog chooser(win32.Get(), win32.messages, kChooseFolder, kChooseFolder, "C:\\Zelvar");
  Script script({
      BrowserOpens(chooser, browser),
      [&] {
        EXPECT_EQ(TextOf(PathBox(browser)), "");
        EXPECT_FALSE(OkEnabled(browser));
        SaveScreenshot("missing-start");
        return true;
      },
      Type(browser, "C:\\Zelvar"),
      OkIs(browser, true),
      Cancel(browser),
  });
  EXPECT_EQ(chooser.DoModal(), -1);
  EXPECT_TRUE(script.Finished());
}

TEST_F(PathDialogTest, AFailureWhileTheBrowserStartsLeavesItOpenAndCancellable) {
  CurrentFolderThrows files(memory.files);
  const platform::Platform platform{memory.registry, files, memory.processes};
  ui::CPathDialog chooser(platform, memory.messages, kChooseFolder, kChooseFolder, nullptr);
  Script script({
      BrowserOpens(chooser, browser),
      [&] {
        EXPECT_TRUE(::IsWindowVisible(PathBox(browser)));
        return true;
      },
      Cancel(browser),
  });
  EXPECT_EQ(chooser.DoModal(), -1);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(files.thrown, 1);
}

// ---- OK -----------------------------------------------------------------------------------

TEST_F(PathDialogTest, OkReturnsTheTypedPathRatherThanTheTreesChoice) {
  memory.files.AddDrive('D');
  ASSERT_TRUE(memory.files.AddFolder("D:\\Tools"));
  ui::CPathDialog chooser(memory.Get(), memory.messages, kChooseFolder, kChooseFolder, "C:\\windows");
  Script script({
      BrowserOpens(chooser, browser),
      PathBoxShows(browser, "C:\\windows"),
      Type(browser, "D:\\Tools"),
      ClickOk(browser),
  });
  EXPECT_EQ(chooser.DoModal(), IDOK);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(chooser.GetPathName(), "D:\\Tools");
  EXPECT_TRUE(memory.messages.Shown().empty()) << "an existing folder needs no question";
}

TEST_F(PathDialogTest, EnterConfirmsAndTheMessagesAreTheApplicationsModalToTheChooser) {
  memory.messages.QueueAnswer(IDYES);
  ui::CPathDialog chooser(memory.Get(), memory.messages, kChooseFolder, kChooseFolder, "C:\\windows");
  HWND seenBrowser = nullptr;
  Script script({
      BrowserOpens(chooser, browser),
      [&] {
        seenBrowser = browser;
        return true;
      },
      Type(browser, "c:\\New\\新建"),
      // The Enter key in the path box is OK too.
      [&] {
        ::SetFocus(PathBox(browser));
        ::PostMessageA(PathBox(browser), WM_KEYDOWN, VK_RETURN, 0);
        return true;
      },
  });
  EXPECT_EQ(chooser.DoModal(), IDOK);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(chooser.GetPathName(), "c:\\New\\新建") << "the letter case stays as typed";
  ASSERT_EQ(memory.messages.Shown().size(), 1u);
  const platform::ShownMessageBox& question = memory.messages.Shown()[0];
  EXPECT_EQ(question.owner, reinterpret_cast<platform::WindowRef>(seenBrowser));
  EXPECT_EQ(question.caption, kAppTitle);
  EXPECT_EQ(question.flags, static_cast<std::uint32_t>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_TRUE(memory.files.Exists("C:\\New\\新建"));
}

TEST_F(PathDialogTest, ATypedPathTooLongForThePathBufferIsRefusedWhole) {
  std::string tooLong = "C:\\";
  while (tooLong.size() < 300) tooLong += "abcdefg\\";
  tooLong += "end";
  ui::CPathDialog chooser(memory.Get(), memory.messages, kChooseFolder, kChooseFolder, "C:\\windows");
  const platform::FileTree before = memory.files.Snapshot();
  Script script({
      BrowserOpens(chooser, browser),
      Type(browser, tooLong),
      ClickOk(browser),
      StaysOpenWithFocusInThePathBox(browser),
      Cancel(browser),
  });
  EXPECT_EQ(chooser.DoModal(), -1);
  EXPECT_TRUE(script.Finished());
  ASSERT_EQ(memory.messages.Shown().size(), 1u);
  EXPECT_EQ(memory.messages.Shown()[0].text,
            FolderMessage(tooLong, "is invalid. Please reenter."));
  EXPECT_EQ(memory.files.Snapshot(), before);
}

// The real message boxes and the real file system, as the program has them.
class PathDialogOnDiskTest : public PathDialogTest {
 protected:
  void SetUp() override { RemoveTestFolders(); }
  void TearDown() override { RemoveTestFolders(); }

  static void RemoveTestFolders() {
    ::RemoveDirectoryA("C:\\path-dialog-test\\new1\\new2");
    ::RemoveDirectoryA("C:\\path-dialog-test\\new1");
    ::RemoveDirectoryA("C:\\path-dialog-test");
  }
};

TEST_F(PathDialogOnDiskTest, YesCreatesBothMissingLevelsAndClosesWithTheTypedPath) {
  const std::string typed = "C:\\path-dialog-test\\new1\\new2";
  ui::CPathDialog chooser(win32.Get(), win32.messages, kChooseFolder, kChooseFolder, "C:\\windows");
  Script script({
      BrowserOpens(chooser, browser),
      Type(browser, typed),
      ClickOk(browser),
      Answer(browser,
             FolderMessage(typed, "does not exist. Do you want the folder to be created?"),
             {IDYES, IDNO}, IDYES, "question"),
  });
  EXPECT_EQ(chooser.DoModal(), IDOK);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(chooser.GetPathName(), typed);
  EXPECT_TRUE(FolderExists("C:\\path-dialog-test\\new1"));
  EXPECT_TRUE(FolderExists(typed));
}

TEST_F(PathDialogOnDiskTest, NoCreatesNothingAndKeepsTheChooserOpen) {
  const std::string typed = "C:\\path-dialog-test\\new1\\new2";
  ui::CPathDialog chooser(win32.Get(), win32.messages, kChooseFolder, kChooseFolder, "C:\\windows");
  Script script({
      BrowserOpens(chooser, browser),
      Type(browser, typed),
      ClickOk(browser),
      Answer(browser,
             FolderMessage(typed, "does not exist. Do you want the folder to be created?"),
             {IDYES, IDNO}, IDNO, "question-no"),
      StaysOpenWithFocusInThePathBox(browser),
      [&] {
        EXPECT_FALSE(FolderExists("C:\\path-dialog-test"));
        return true;
      },
      Cancel(browser),
  });
  EXPECT_EQ(chooser.DoModal(), -1);
  EXPECT_TRUE(script.Finished());
  EXPECT_FALSE(FolderExists("C:\\path-dialog-test"));
}

TEST_F(PathDialogOnDiskTest, InvalidAndUncreatableFoldersAreReportedAndTheChooserStaysOpen) {
  // No drive Q: in the test's Wine prefix.
  ASSERT_EQ(::GetDriveTypeA("Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  ui::CPathDialog chooser(win32.Get(), win32.messages, kChooseFolder, kChooseFolder, "C:\\windows");
  Script script({
      BrowserOpens(chooser, browser),
      Type(browser, "C:/data"),
      ClickOk(browser),
      Answer(browser, FolderMessage("C:/data", "is invalid. Please reenter."), {IDOK}, IDOK,
             "invalid"),
      StaysOpenWithFocusInThePathBox(browser),
      Type(browser, "Q:\\data"),
      ClickOk(browser),
      Answer(browser,
             FolderMessage("Q:\\data", "does not exist. Do you want the folder to be created?"),
             {IDYES, IDNO}, IDYES, "question-missing-drive"),
      Answer(browser, FolderMessage("Q:\\data", "can not be created. Please double check."),
             {IDOK}, IDOK, "not-created"),
      StaysOpenWithFocusInThePathBox(browser),
      Cancel(browser),
  });
  EXPECT_EQ(chooser.DoModal(), -1);
  EXPECT_TRUE(script.Finished());
}

// ---- Browse in the setup dialog -------------------------------------------------------------

class BrowseTest : public PathDialogTest {
 protected:
  static HWND SetupDialog() { return ::FindWindowA("#32770", "Zelvar批打印软件安装"); }

  // Runs the setup dialog with the memory platform while the script drives it.
  void RunSetup(std::vector<Script::Step> steps) {
    ui::Dlg_Setup dialog(inventory, memory.Get(), memory.messages);
    steps.push_back([] {
      PostClick(SetupDialog(), IDCANCEL);
      return true;
    });
    Script script(std::move(steps));
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished()) << "steps done: " << script.StepsDone();
    targetFolder = dialog.targetFolder;
  }

  Script::Step SetupOpens(std::string folder) {
    return [this, folder] {
      setup = SetupDialog();
      if (setup == nullptr || !::IsWindowVisible(setup)) return false;
      ::SetWindowTextA(::GetDlgItem(setup, IDC_TARGET_FOLDER), folder.c_str());
      PostClick(setup, IDC_BROWSE);
      return true;
    };
  }

  Script::Step ChooserOpens() {
    return [this] {
      browser = Browser();
      if (browser == nullptr || !::IsWindowVisible(browser)) return false;
      EXPECT_FALSE(::IsWindowEnabled(setup)) << "the chooser is modal to the setup dialog";
      EXPECT_EQ(::GetWindow(browser, GW_OWNER), setup);
      SaveScreenshot("browse-over-setup");
      return true;
    };
  }

  Script::Step SetupShows(std::string folder) {
    return [this, folder] {
      if (Browser() != nullptr || !::IsWindowEnabled(setup)) return false;
      EXPECT_EQ(TextOf(::GetDlgItem(setup, IDC_TARGET_FOLDER)), folder);
      return true;
    };
  }

  discovery::InstallationInventory inventory{memory.Get()};
  HWND setup = nullptr;
  std::string targetFolder;
};

TEST_F(BrowseTest, CancelKeepsTheFolderThatWasTyped) {
  RunSetup({
      SetupOpens("C:\\windows"),
      ChooserOpens(),
      PathBoxShows(browser, "C:\\windows"),
      Cancel(browser),
      SetupShows("C:\\windows"),
  });
  EXPECT_EQ(targetFolder, "C:\\windows");
}

TEST_F(BrowseTest, OkPutsTheConfirmedPathIntoTheEditBoxUnchanged) {
  memory.files.AddDrive('D');
  ASSERT_TRUE(memory.files.AddFolder("D:\\Tools"));
  RunSetup({
      SetupOpens("C:\\windows"),
      ChooserOpens(),
      Type(browser, "D:\\Tools"),
      ClickOk(browser),
      SetupShows("D:\\Tools"),
  });
  EXPECT_EQ(targetFolder, "D:\\Tools");
  EXPECT_TRUE(memory.messages.Shown().empty());
}

}  // namespace
