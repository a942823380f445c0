#pragma once

#include <windows.h>

#include <utility>

namespace ui {

// A GDI object the program created, deleted with its owner.
template <class Handle>
class CGdiObject {
 public:
  CGdiObject() = default;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  CGdiObject(CGdiObject&& other) noexcept : handle_(other.Release()) {}
  CGdiObject& operator=(CGdiObject&& other) noexcept {
    if (this != &other) Attach(other.Release());
    return *this;
  }
  ~CGdiObject() { DeleteObject(); }

  Handle Get() const { return handle_; }
  operator Handle() const { return handle_; }

  void DeleteObject() {
    if (handle_ != nullptr) {
      ::DeleteObject(std::exchange(handle_, nullptr));
    }
  }

  // Takes over an object made elsewhere; the one held until now is deleted.
  bool Adopt(Handle handle) { return Attach(handle); }
  // Hands the object to the caller, who deletes it from now on.
  Handle Release() { return std::exchange(handle_, nullptr); }

 protected:
  bool Attach(Handle handle) {
    DeleteObject();
    handle_ = handle;
    return handle_ != nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

class CBrush : public CGdiObject<HBRUSH> {
 public:
  bool CreateSolidBrush(COLORREF colour) { return Attach(::CreateSolidBrush(colour)); }
};

class CFont : public CGdiObject<HFONT> {
 public:
  bool CreateFontIndirect(const LOGFONTA& font) { return Attach(::CreateFontIndirectA(&font)); }
};

class CBitmap : public CGdiObject<HBITMAP> {};

// An icon the program loaded at a size of its own (not shared), destroyed with its owner.
class CIcon {
 public:
  CIcon() = default;
  CIcon(const CIcon&) = delete;
  CIcon& operator=(const CIcon&) = delete;
  ~CIcon() { Destroy(); }

  HICON Get() const { return icon_; }
  void Adopt(HICON icon) {
    Destroy();
    icon_ = icon;
  }
  HICON Release() { return std::exchange(icon_, nullptr); }
  void Destroy() {
    if (icon_ != nullptr) ::DestroyIcon(std::exchange(icon_, nullptr));
  }

 private:
  HICON icon_ = nullptr;
};

}  // namespace ui
