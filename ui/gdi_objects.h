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
  ~CGdiObject() { DeleteObject(); }

  Handle Get() const { return handle_; }
  operator Handle() const { return handle_; }

  void DeleteObject() {
    if (handle_ != nullptr) {
      ::DeleteObject(std::exchange(handle_, nullptr));
    }
  }

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

}  // namespace ui
