// The setup dialog in this process, on a real window: what it offers, how it paints, how it ends.
// Runs under an X server of its own (the test's SETUP_WINE_DISPLAY).

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <tuple>
#include <utility>

#include "discovery/installation_inventory.h"
#include "platform/memory/memory_platform.h"
#include "tests/ui/found_release.h"
#include "tests/ui/probed_setup_dialog.h"
#include "ui/resource_ids.h"
#include "ui/setup_dialog.h"

// This test program is the 32-bit edition; the 64-bit edition runs end to end.
namespace ui {
extern const int setupBits = 32;
}  // namespace ui

namespace {

using ui::testing::ProbedSetupDialog;
using ui::testing::kWatchdogResult;

std::string TextOf(HWND window) {
  char text[512] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

bool Checked(HWND box) { return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Click(HWND button) { ::SendMessageA(button, BM_CLICK, 0, 0); }

int ColourDistance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

// The logo: the picture control without an id.
HWND LogoOf(HWND dialog) {
  HWND child = ::GetWindow(dialog, GW_CHILD);
  while (child != nullptr && ((::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP ||
                               ::GetDlgCtrlID(child) == IDC_MENU_PICTURE)) {
    child = ::GetWindow(child, GW_HWNDNEXT);
  }
  return child;
}

// The dialog layer under a handler that throws, as a string out of memory would: a dialog
// and a subclassed button whose colour handlers throw while `throwing` is set, and that have
// no handler otherwise. Each answers one colour request in the dialog's first moments, then
// the dialog ends.
struct ThrowingHandlers {
  bool throwing = false;
  int thrown = 0;

  HBRUSH Throw() {
    ++thrown;
    throw std::bad_alloc();
  }
};

class ThrowingButton : public ui::CWnd {
 public:
  explicit ThrowingButton(ThrowingHandlers& handlers) : handlers_(handlers) {}

 protected:
  ui::MessageMap GetMessageMap() const override {
    static constexpr ui::MessageMapEntry kMap[] = {
        ui::OnCtlColorRequest<&ThrowingButton::OnCtlColor>()};
    return handlers_.throwing ? ui::MessageMap(kMap) : ui::MessageMap();
  }
  HBRUSH OnCtlColor(HDC, ui::CWnd&, UINT) { return handlers_.Throw(); }

 private:
  ThrowingHandlers& handlers_;
};

class ThrowingDialog : public ui::CDialog {
 public:
  explicit ThrowingDialog(ThrowingHandlers& handlers) : CDialog(IDD_SETUP), handlers_(handlers) {}
  LRESULT dialogAnswer = 0;
  LRESULT buttonAnswer = 0;

 protected:
  ui::MessageMap GetMessageMap() const override {
    static constexpr ui::MessageMapEntry kMap[] = {
        ui::OnCtlColorRequest<&ThrowingDialog::OnCtlColor>()};
    return handlers_.throwing ? ui::MessageMap(kMap) : ui::MessageMap();
  }
  HBRUSH OnCtlColor(HDC, ui::CWnd&, UINT) { return handlers_.Throw(); }

  BOOL OnInitDialog() override {
    const HDC dc = ::GetDC(m_hWnd);
    const HWND label = GetDlgItem(IDC_CHOOSE_FOLDER);
    dialogAnswer = SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(label));
    ThrowingButton browse(handlers_);
    browse.SubclassWindow(GetDlgItem(IDC_BROWSE));
    buttonAnswer = browse.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(browse.GetSafeHwnd()));
    ::ReleaseDC(m_hWnd, dc);
    EndDialog(IDCANCEL);
    return TRUE;
  }

 private:
  ThrowingHandlers& handlers_;
};

class SetupDialogTest : public ::testing::Test {
 protected:
  void Found(int year) { ui::testing::FileFoundRelease(inventory, year); }

  // Every check of a probe needs the dialog on screen: a dialog that never opened fails here.
  INT_PTR Run(std::function<void(ProbedSetupDialog&)> probe) {
    bool probed = false;
    ProbedSetupDialog dialog(inventory, memory.Get(), memory.messages);
    dialog.probe = [&](ProbedSetupDialog& shown) {
      probed = true;
      probe(shown);
    };
    const INT_PTR result = dialog.DoModal();
    EXPECT_TRUE(probed) << "the dialog never opened; DoModal answered " << result;
    EXPECT_NE(result, kWatchdogResult) << "the probe did not finish";
    return result;
  }

  platform::MemoryPlatform memory;
  discovery::InstallationInventory inventory{memory.Get()};
};

TEST_F(SetupDialogTest, OffersTheReleasesFoundAndKeepsInstallToTheTicks) {
  Found(2008);
  Found(2010);
  Found(2017);  // found, but withdrawn from this edition
  const INT_PTR result = Run([&](ProbedSetupDialog& dialog) {
    EXPECT_EQ(TextOf(dialog.Window()), "Zelvar批打印软件安装");
    EXPECT_EQ(TextOf(dialog.Item(IDC_VERSION_TEXT)), "Zelvar批打印软件 V2024.4.26 (32位版本)");
    EXPECT_EQ(TextOf(dialog.Item(IDC_TARGET_FOLDER)), "C:\\Zelvar");

    for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
      const HWND box = dialog.Item(row.checkBoxId);
      const bool found = row.releaseYear == 2008 || row.releaseYear == 2010;
      EXPECT_EQ(TextOf(box), row.checkBoxCaption);
      EXPECT_EQ(::IsWindowVisible(box) != FALSE, row.releaseYear <= 2016) << row.releaseYear;
      if (row.releaseYear <= 2016) {
        EXPECT_EQ(::IsWindowEnabled(box) != FALSE, found) << row.releaseYear;
      }
      EXPECT_EQ(Checked(box), found) << row.releaseYear;
    }
    for (int hidden : {IDOK, IDC_PROGRESS, IDC_MENU_PICTURE, IDC_FINISHED_NOTICE}) {
      EXPECT_FALSE(::IsWindowVisible(dialog.Item(hidden))) << hidden;
    }
    for (int shown : {IDCANCEL, IDC_INSTALL, IDC_BROWSE, IDC_TARGET_FOLDER, IDC_CHOOSE_FOLDER,
                      IDC_CHOOSE_COMPONENTS, IDC_VERSION_TEXT}) {
      EXPECT_TRUE(::IsWindowVisible(dialog.Item(shown))) << shown;
    }

    const HWND install = dialog.Item(IDC_INSTALL);
    EXPECT_TRUE(::IsWindowEnabled(install));
    Click(dialog.Item(IDC_BOX_2008));
    EXPECT_TRUE(::IsWindowEnabled(install)) << "2010 is still ticked";
    Click(dialog.Item(IDC_BOX_2010));
    EXPECT_FALSE(::IsWindowEnabled(install));
    EXPECT_EQ(dialog.releaseFlags[1], 0);
    EXPECT_EQ(dialog.releaseFlags[3], 0);

    // A tick pulls every control into the members, the folder typed so far included.
    ::SetWindowTextA(dialog.Item(IDC_TARGET_FOLDER), "D:\\Programs\\新建");
    Click(dialog.Item(IDC_BOX_2010));
    EXPECT_TRUE(::IsWindowEnabled(install));
    EXPECT_EQ(dialog.releaseFlags[3], 1);
    EXPECT_EQ(dialog.targetFolder, "D:\\Programs\\新建");
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(SetupDialogTest, WithNothingFoundEveryBoxIsDisabledAndInstallTooButTheRestWorks) {
  const INT_PTR result = Run([&](ProbedSetupDialog& dialog) {
    for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
      EXPECT_FALSE(Checked(dialog.Item(row.checkBoxId))) << row.releaseYear;
      EXPECT_FALSE(::IsWindowEnabled(dialog.Item(row.checkBoxId))) << row.releaseYear;
    }
    EXPECT_FALSE(::IsWindowEnabled(dialog.Item(IDC_INSTALL)));
    EXPECT_TRUE(::IsWindowEnabled(dialog.Item(IDC_BROWSE)));
    EXPECT_TRUE(::IsWindowEnabled(dialog.Item(IDCANCEL)));
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(SetupDialogTest, CarriesTheProgramIconAsItsSmallIcon) {
  Run([&](ProbedSetupDialog& dialog) {
    EXPECT_NE(::SendMessageA(dialog.Window(), WM_GETICON, ICON_SMALL, 0), 0);
  });
}

TEST_F(SetupDialogTest, PaintsEverythingLightGreenAndTheCaptionDarkGreenAndSemiBold) {
  Found(2009);
  Run([&](ProbedSetupDialog& dialog) {
    const HDC memoryDc = ::CreateCompatibleDC(nullptr);
    ASSERT_NE(memoryDc, nullptr);

    for (int id : {IDC_VERSION_TEXT, IDC_CHOOSE_COMPONENTS, IDC_BOX_2009, IDC_INSTALL,
                   IDC_TARGET_FOLDER}) {
      ui::CWnd control(dialog.Item(id));
      const HBRUSH brush = dialog.OnCtlColor(memoryDc, control, CTLCOLOR_STATIC);
      EXPECT_EQ(brush, dialog.backgroundBrush.Get()) << id;
      EXPECT_EQ(::GetBkMode(memoryDc), id == IDC_TARGET_FOLDER ? OPAQUE : TRANSPARENT) << id;
      EXPECT_EQ(::GetTextColor(memoryDc), id == IDC_VERSION_TEXT ? RGB(10, 70, 40) : RGB(0, 0, 0))
          << id;
      if (id == IDC_VERSION_TEXT) {
        LOGFONTA font{};
        ASSERT_NE(::GetObjectA(::GetCurrentObject(memoryDc, OBJ_FONT), sizeof font, &font), 0);
        EXPECT_EQ(font.lfHeight, 12);
        EXPECT_EQ(font.lfWeight, 600);
        EXPECT_STREQ(font.lfFaceName, "宋体");
      }
      ::SetBkMode(memoryDc, OPAQUE);
    }
    // The dialog's own colour request gets the same brush.
    ui::CWnd self(dialog.Window());
    EXPECT_EQ(dialog.OnCtlColor(memoryDc, self, CTLCOLOR_DLG), dialog.backgroundBrush.Get());
    LOGBRUSH brush{};
    ASSERT_NE(::GetObjectA(dialog.backgroundBrush.Get(), sizeof brush, &brush), 0);
    EXPECT_EQ(brush.lbColor, RGB(170, 210, 150));
    ::DeleteDC(memoryDc);

    // And on screen: the dialog's background, and the caption's text in dark green.
    ::RedrawWindow(dialog.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const HDC screen = ::GetDC(dialog.Window());
    RECT free{4, 56, 10, 60};  // dialog units: left of "请选择安装组件："
    ::MapDialogRect(dialog.Window(), &free);
    EXPECT_EQ(::GetPixel(screen, free.left, free.top), RGB(170, 210, 150));

    RECT caption{};
    ::GetWindowRect(dialog.Item(IDC_VERSION_TEXT), &caption);
    ::MapWindowPoints(nullptr, dialog.Window(), reinterpret_cast<POINT*>(&caption), 2);
    int darkGreen = 0, grey = 0;
    for (LONG y = caption.top; y < caption.bottom; ++y) {
      for (LONG x = caption.left; x < caption.right; ++x) {
        const COLORREF pixel = ::GetPixel(screen, x, y);
        darkGreen += ColourDistance(pixel, RGB(10, 70, 40)) < 40 ? 1 : 0;
        grey += pixel == ::GetSysColor(COLOR_3DFACE) ? 1 : 0;
      }
    }
    ::ReleaseDC(dialog.Window(), screen);
    EXPECT_GT(darkGreen, 20) << "the caption's text is drawn dark green";
    EXPECT_EQ(grey, 0) << "the caption's background is transparent";
  });
}

TEST_F(SetupDialogTest, InHighContrastTheFolderBoxKeepsTheSystemColours) {
  Run([&](ProbedSetupDialog& dialog) {
    dialog.highContrast = true;
    const HDC dc = ::CreateCompatibleDC(nullptr);
    ui::CWnd box(dialog.Item(IDC_TARGET_FOLDER));
    EXPECT_EQ(dialog.OnCtlColor(dc, box, CTLCOLOR_EDIT), ::GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(::GetTextColor(dc), ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(::GetBkColor(dc), ::GetSysColor(COLOR_WINDOW));
    ::DeleteDC(dc);
  });
}

// Wine never moves a window to another DPI, so the message is sent as Windows sends it.
TEST_F(SetupDialogTest, AtAnotherDpiThePicturesAndTheCaptionFollowIt) {
  Run([&](ProbedSetupDialog& dialog) {
    RECT frame{};
    ::GetWindowRect(dialog.Window(), &frame);
    ::SendMessageA(dialog.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&frame));
    for (MSG msg; ::PeekMessageA(&msg, dialog.Window(), WM_APP, 0xBFFF, PM_REMOVE);) {
      ::DispatchMessageA(&msg);
    }
    // 64 x 64 and 307 x 175 at 100 %; each control takes its picture's size.
    for (const auto& [picture, width, height] :
         {std::tuple{LogoOf(dialog.Window()), 96L, 96L},
          std::tuple{dialog.Item(IDC_MENU_PICTURE), 461L, 263L}}) {
      BITMAP shown{};
      const LRESULT image = ::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0);
      ::GetObjectA(reinterpret_cast<HBITMAP>(image), sizeof shown, &shown);
      RECT control{};
      ::GetWindowRect(picture, &control);
      EXPECT_EQ(std::pair(shown.bmWidth, shown.bmHeight), std::pair(width, height));
      EXPECT_EQ(std::pair(control.right - control.left, control.bottom - control.top),
                std::pair(width, height));
    }
    LOGFONTA font{};
    const LRESULT captionFont = ::SendMessageA(dialog.Item(IDC_VERSION_TEXT), WM_GETFONT, 0, 0);
    ::GetObjectA(reinterpret_cast<HFONT>(captionFont), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, 18);
  });
}

TEST_F(SetupDialogTest, EndsWithOkOnlyWhileTheFinishButtonShowsAndWithCancelByTheCloseBox) {
  Found(2013);
  // IDOK is also what the Enter key sends when no push button has the focus. After the probe
  // the dialog is sent Cancel, so a dialog that stayed open ends with IDCANCEL.
  for (const bool finishShown : {false, true}) {
    std::string pulled;
    const INT_PTR result = Run([&](ProbedSetupDialog& dialog) {
      ::ShowWindow(dialog.Item(IDOK), finishShown ? SW_SHOW : SW_HIDE);
      ::SetWindowTextA(dialog.Item(IDC_TARGET_FOLDER), "E:\\Tools");
      ::SendMessageA(dialog.Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(dialog.Item(IDOK)));
      pulled = dialog.targetFolder;
    });
    EXPECT_EQ(result, finishShown ? IDOK : IDCANCEL) << finishShown;
    EXPECT_EQ(pulled, finishShown ? "E:\\Tools" : "C:\\Zelvar") << "OK pulls the controls";
  }

  const INT_PTR closed = Run([&](ProbedSetupDialog& dialog) {
    ::ShowWindow(dialog.Item(IDOK), SW_SHOW);
    ::SendMessageA(dialog.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(closed, IDCANCEL);
}

// A handler that throws inside the dialog procedure or a subclass procedure neither ends the
// program nor unwinds into the system: the message gets the answer it gets with no handler.
TEST(DialogLayerTest, AHandlerThatThrowsLeavesTheMessageItsDefaultAnswer) {
  LRESULT answers[2][2] = {};
  for (const bool throwing : {false, true}) {
    ThrowingHandlers handlers;
    handlers.throwing = throwing;
    ThrowingDialog dialog(handlers);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << throwing;
    EXPECT_EQ(handlers.thrown > 0, throwing);
    answers[throwing][0] = dialog.dialogAnswer;
    answers[throwing][1] = dialog.buttonAnswer;
  }
  EXPECT_NE(answers[false][0], 0);
  EXPECT_EQ(answers[true][0], answers[false][0]) << "the dialog procedure";
  EXPECT_EQ(answers[true][1], answers[false][1]) << "the subclass procedure";
}

}  // namespace
