// The setup dialog in this process, on a real window: what it offers, how it paints, how it ends.
// Runs under an X server of its own (the test's SETUP_WINE_DISPLAY).

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

class SetupDialogTest : public ::testing::Test {
 protected:
  void Found(int year) { ui::testing::FileFoundRelease(inventory, year); }

  INT_PTR Run(std::function<void(ProbedSetupDialog&)> probe) {
    ProbedSetupDialog dialog(inventory, memory.Get());
    dialog.probe = std::move(probe);
    return dialog.DoModal();
  }

  platform::MemoryPlatform memory;
  discovery::InstallationInventory inventory{memory.Get()};
};

TEST_F(SetupDialogTest, OffersTheReleasesFoundAndKeepsInstallToTheTicks) {
  Found(2008);
  Found(2010);
  Found(2017);  // found, but withdrawn from this edition
  bool probed = false;
  const INT_PTR result = Run([&](ProbedSetupDialog& dialog) {
    probed = true;
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
  EXPECT_TRUE(probed);
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

TEST_F(SetupDialogTest, EndsWithOkThroughTheFinishButtonAndWithCancelThroughTheCloseBox) {
  Found(2013);
  std::string pulled;
  const INT_PTR ok = Run([&](ProbedSetupDialog& dialog) {
    ::SetWindowTextA(dialog.Item(IDC_TARGET_FOLDER), "E:\\Tools");
    ::SendMessageA(dialog.Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(dialog.Item(IDOK)));
    pulled = dialog.targetFolder;
  });
  EXPECT_EQ(ok, IDOK);
  EXPECT_EQ(pulled, "E:\\Tools") << "OK pulls the controls into the members";

  const INT_PTR closed = Run([&](ProbedSetupDialog& dialog) {
    ::SendMessageA(dialog.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(closed, IDCANCEL);
}

}  // namespace
