#pragma once

#include <windows.h>

#include <string>

#include "ui/message_map.h"

namespace ui {

// A window of the program: a thin, non-owning wrapper of its handle (the window owns itself and
// goes away with its parent), plus the routing of its messages through the class's message map.
// A window the program did not create can be subclassed, so that its map sees the window's
// messages before the window's own procedure.
class CWnd {
 public:
  CWnd() = default;
  explicit CWnd(HWND window) : m_hWnd(window) {}
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  // Binds a control to this object once; later calls keep the first binding.
  void Attach(HWND window);

  int GetDlgCtrlID() const;
  HWND GetDlgItem(int id) const;
  bool ShowWindow(int command) const;
  bool EnableWindow(bool enable) const;
  bool IsWindowVisible() const;
  void SetWindowText(const char* text) const;
  std::string GetWindowText() const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  void SetIcon(HICON icon, bool big) const;

  // Routes the window's messages through GetMessageMap() first; false when the window could
  // not be subclassed. The subclass ends with the window or with this object, whichever goes
  // first.
  bool SubclassWindow(HWND window);
  void UnsubclassWindow();

 protected:
  virtual MessageMap GetMessageMap() const { return {}; }

  // Finds the handler of a message in the map and runs it; false when the map has none.
  bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  HWND m_hWnd = nullptr;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR subclassId, DWORD_PTR self);

  bool subclassed_ = false;
};

}  // namespace ui
