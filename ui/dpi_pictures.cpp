#include "ui/dpi_pictures.h"

#include "ui/window_dpi.h"

namespace ui {

namespace {

// A memory device context with one bitmap selected, put back as it was on every way out.
class MemoryDc {
 public:
  explicit MemoryDc(HBITMAP bitmap) : dc_(::CreateCompatibleDC(nullptr)) {
    if (dc_ != nullptr) previous_ = ::SelectObject(dc_, bitmap);
  }
  ~MemoryDc() {
    if (dc_ == nullptr) return;
    if (Get() != nullptr) ::SelectObject(dc_, previous_);
    ::DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  // Null unless the bitmap is selected.
  HDC Get() const { return previous_ != nullptr && previous_ != HGDI_ERROR ? dc_ : nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

HBITMAP ShownBitmap(HWND control) {
  return reinterpret_cast<HBITMAP>(::SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

void Show(HWND control, HBITMAP bitmap) {
  ::SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

}  // namespace

HBITMAP ScaledCopy(HBITMAP source, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  BITMAP info{};
  if (::GetObjectA(source, sizeof info, &info) == 0) return nullptr;
  // A 32-bit DIB, so the averaged colours are kept whatever the source's depth.
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  CBitmap copy;
  if (!copy.Adopt(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0))) {
    return nullptr;
  }
  const MemoryDc from(source);
  const MemoryDc to(copy.Get());
  if (from.Get() == nullptr || to.Get() == nullptr) return nullptr;
  ::SetStretchBltMode(to.Get(), HALFTONE);
  ::SetBrushOrgEx(to.Get(), 0, 0, nullptr);  // HALFTONE asks for it after the mode is set
  if (!::StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, info.bmWidth,
                    info.bmHeight, SRCCOPY)) {
    return nullptr;
  }
  ::GdiFlush();
  return copy.Release();
}

void DpiPictures::Attach(HWND dialog) {
  pictures_.clear();
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if ((::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) continue;
    const HBITMAP original = ShownBitmap(child);
    BITMAP info{};
    // A picture whose bitmap is missing stays as the template left it.
    if (original == nullptr || ::GetObjectA(original, sizeof info, &info) == 0) continue;
    pictures_.push_back({child, original, {info.bmWidth, info.bmHeight}, {}});
  }
}

void DpiPictures::ShowAt(UINT dpi) {
  for (Picture& picture : pictures_) {
    const int width = ScaledToDpi(picture.size.cx, dpi);
    const int height = ScaledToDpi(picture.size.cy, dpi);
    const bool ownSize = width == picture.size.cx && height == picture.size.cy;
    const HBITMAP copy = ownSize ? nullptr : ScaledCopy(picture.original, width, height);
    // A copy that cannot be made leaves the picture at its own size, whole.
    Show(picture.control, copy != nullptr ? copy : picture.original);
    // The copy shown until now, if any, goes.
    picture.scaled.Adopt(copy);
  }
}

void DpiPictures::Restore() {
  for (Picture& picture : pictures_) {
    Show(picture.control, picture.original);
    picture.scaled.DeleteObject();
  }
}

}  // namespace ui
