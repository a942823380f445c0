// The setup dialog's two pictures and the program's icon, as this test program carries them (it
// links the same resource object as SetUp.exe): sizes and colour depths as stored, and how the
// dialog's picture controls show them once Windows has built the dialog.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/resource_ids.h"

namespace {

std::span<const std::byte> ResourceData(LPCSTR type, int id) {
  const HMODULE self = ::GetModuleHandleA(nullptr);
  const HRSRC found = ::FindResourceA(self, MAKEINTRESOURCEA(id), type);
  if (found == nullptr) return {};
  const HGLOBAL loaded = ::LoadResource(self, found);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return {static_cast<const std::byte*>(bytes), ::SizeofResource(self, found)};
}

// The header at the start of a bitmap resource or of an icon image; zeroed if it does not fit.
BITMAPINFOHEADER InfoHeader(std::span<const std::byte> data) {
  BITMAPINFOHEADER header{};
  if (data.size() >= sizeof header) std::memcpy(&header, data.data(), sizeof header);
  return header;
}

std::size_t RowBytes(LONG width, WORD bitsPerPixel) {
  return (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

TEST(ResourceImages, LogoIs64PixelsSquareIn24Bits) {
  const std::span<const std::byte> data = ResourceData(RT_BITMAP, IDB_LOGO);
  ASSERT_GE(data.size(), sizeof(BITMAPINFOHEADER)) << "bitmap " << IDB_LOGO;
  const BITMAPINFOHEADER header = InfoHeader(data);
  EXPECT_EQ(header.biSize, sizeof header);
  EXPECT_EQ(header.biWidth, 64);
  EXPECT_EQ(std::abs(header.biHeight), 64);
  EXPECT_EQ(header.biPlanes, 1);
  EXPECT_EQ(header.biBitCount, 24);
  EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_GE(data.size(), header.biSize + RowBytes(64, 24) * 64) << "every pixel row is stored";
}

TEST(ResourceImages, MenuPictureIs307By175InSixteenColours) {
  const std::span<const std::byte> data = ResourceData(RT_BITMAP, IDB_MENU_PICTURE);
  ASSERT_GE(data.size(), sizeof(BITMAPINFOHEADER)) << "bitmap " << IDB_MENU_PICTURE;
  const BITMAPINFOHEADER header = InfoHeader(data);
  EXPECT_EQ(header.biWidth, 307);
  ASSERT_EQ(std::abs(header.biHeight), 175);
  EXPECT_EQ(header.biPlanes, 1);
  ASSERT_EQ(header.biBitCount, 4);
  ASSERT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
  const DWORD colours = header.biClrUsed != 0 ? header.biClrUsed : 16;
  EXPECT_EQ(colours, 16u);

  const std::size_t pixels = header.biSize + colours * sizeof(RGBQUAD);
  const std::size_t row = RowBytes(307, 4);
  ASSERT_GE(data.size(), pixels + row * 175) << "every pixel row is stored";
  // A picture, not a blank: it uses a good part of its palette.
  std::set<int> used;
  for (std::size_t y = 0; y < 175; ++y) {
    for (std::size_t x = 0; x < 307; ++x) {
      const auto byte = static_cast<unsigned>(data[pixels + y * row + x / 2]);
      used.insert(static_cast<int>(x % 2 == 0 ? byte >> 4 : byte & 0x0F));
    }
  }
  EXPECT_GE(used.size(), 6u);
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInRes;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14);

TEST(ResourceImages, IconGroupHolds48And32And16PixelImages) {
  const std::span<const std::byte> group = ResourceData(RT_GROUP_ICON, IDI_SETUP);
  ASSERT_GE(group.size(), 6u) << "icon group " << IDI_SETUP;
  WORD head[3] = {};
  std::memcpy(head, group.data(), sizeof head);
  EXPECT_EQ(head[0], 0);
  EXPECT_EQ(head[1], 1) << "an icon, not a cursor";
  ASSERT_GE(group.size(), 6 + head[2] * sizeof(GroupIconEntry));

  std::vector<int> sizes;
  for (WORD i = 0; i < head[2]; ++i) {
    GroupIconEntry entry{};
    std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
    const int size = entry.width == 0 ? 256 : entry.width;
    sizes.push_back(size);
    SCOPED_TRACE("icon image " + std::to_string(entry.id) + " of " + std::to_string(size) + " px");
    EXPECT_EQ(entry.height, entry.width);

    // The image the group names is there and is what the group says it is.
    const std::span<const std::byte> image = ResourceData(RT_ICON, entry.id);
    ASSERT_EQ(image.size(), entry.bytesInRes);
    const BITMAPINFOHEADER header = InfoHeader(image);
    EXPECT_EQ(header.biWidth, size);
    EXPECT_EQ(header.biHeight, 2 * size) << "colour and mask";
    EXPECT_EQ(header.biBitCount, entry.bitCount);
    const HICON icon = ::CreateIconFromResourceEx(
        reinterpret_cast<PBYTE>(const_cast<std::byte*>(image.data())), static_cast<DWORD>(image.size()),
        TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) ::DestroyIcon(icon);
  }
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));

  // The way the dialog asks for its small icon.
  const HANDLE small = ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP),
                                    IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR);
  EXPECT_NE(small, nullptr);
  if (small != nullptr) ::DestroyIcon(static_cast<HICON>(small));
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct WindowCloser {
  void operator()(HWND window) const { ::DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;

SIZE BitmapShownBy(HWND picture) {
  const auto bitmap =
      reinterpret_cast<HBITMAP>(::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP info{};
  if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

SIZE WindowSize(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// Windows loads each picture control's bitmap from the template and sizes the control to it, so
// the logo and the menu picture show whole, at their own pixel size.
TEST(ResourceImages, DialogPicturesShowTheirBitmapsAtTheirOwnSize) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
  ASSERT_TRUE(::InitCommonControlsEx(&classes));
  const Window dialog(::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETUP),
                                           nullptr, &QuietDialogProc, 0));
  ASSERT_NE(dialog.get(), nullptr) << "error " << ::GetLastError();

  HWND logo = nullptr;
  for (HWND child = ::GetWindow(dialog.get(), GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_BITMAP && ::GetDlgCtrlID(child) != IDC_MENU_PICTURE) {
      logo = child;
    }
  }
  ASSERT_NE(logo, nullptr);
  const HWND menuPicture = ::GetDlgItem(dialog.get(), IDC_MENU_PICTURE);
  ASSERT_NE(menuPicture, nullptr);

  const SIZE logoBitmap = BitmapShownBy(logo);
  EXPECT_EQ(logoBitmap.cx, 64);
  EXPECT_EQ(logoBitmap.cy, 64);
  const SIZE logoWindow = WindowSize(logo);
  EXPECT_EQ(logoWindow.cx, 64);
  EXPECT_EQ(logoWindow.cy, 64);

  const SIZE menuBitmap = BitmapShownBy(menuPicture);
  EXPECT_EQ(menuBitmap.cx, 307);
  EXPECT_EQ(menuBitmap.cy, 175);
  const SIZE menuWindow = WindowSize(menuPicture);
  EXPECT_EQ(menuWindow.cx, 307);
  EXPECT_EQ(menuWindow.cy, 175);
}

}  // namespace
