#include "ui/wnd.h"

#include <commctrl.h>

#include <vector>

#include "ui/window_edge.h"

namespace ui {

namespace {
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

CWnd::~CWnd() { UnsubclassWindow(); }

void CWnd::Attach(HWND window) {
  if (m_hWnd == nullptr) {
    m_hWnd = window;
  }
}

int CWnd::GetDlgCtrlID() const { return m_hWnd != nullptr ? ::GetDlgCtrlID(m_hWnd) : 0; }

HWND CWnd::GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

bool CWnd::ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command) != FALSE; }

bool CWnd::EnableWindow(bool enable) const { return ::EnableWindow(m_hWnd, enable) != FALSE; }

bool CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }

void CWnd::SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }

std::string CWnd::GetWindowText() const {
  const int length = ::GetWindowTextLengthA(m_hWnd);
  if (length <= 0) {
    return {};
  }
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::SetIcon(HICON icon, bool big) const {
  SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool CWnd::SubclassWindow(HWND window) {
  if (subclassed_ || window == nullptr) {
    return false;
  }
  if (!::SetWindowSubclass(window, &CWnd::SubclassProc, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  m_hWnd = window;
  subclassed_ = true;
  return true;
}

void CWnd::UnsubclassWindow() {
  if (subclassed_) {
    ::RemoveWindowSubclass(m_hWnd, &CWnd::SubclassProc, kSubclassId);
    subclassed_ = false;
    m_hWnd = nullptr;
  }
}

bool CWnd::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const MessageMap map = GetMessageMap();
  for (const MessageMapEntry& entry : map) {
    if (entry.kind == MessageMapEntry::Kind::Message && entry.notifyCode == message) {
      entry.onMessage(*this, wParam, lParam);
    }
  }
  if (message == WM_COMMAND) {
    const UINT code = HIWORD(wParam);
    const int id = LOWORD(wParam);
    for (const MessageMapEntry& entry : map) {
      if (entry.kind == MessageMapEntry::Kind::Command && entry.notifyCode == code &&
          entry.id == id) {
        entry.onCommand(*this);
        result = 0;
        return true;
      }
    }
    return false;
  }
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    for (const MessageMapEntry& entry : map) {
      if (entry.kind == MessageMapEntry::Kind::CtlColor) {
        CWnd control(reinterpret_cast<HWND>(lParam));
        const HBRUSH brush = entry.onCtlColor(*this, reinterpret_cast<HDC>(wParam), control,
                                              message - WM_CTLCOLORMSGBOX);
        result = reinterpret_cast<LRESULT>(brush);
        return true;
      }
    }
  }
  return false;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR /*subclassId*/, DWORD_PTR self) {
  auto* wnd = reinterpret_cast<CWnd*>(self);
  if (message == WM_NCDESTROY) {
    wnd->UnsubclassWindow();
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  // A handler that fails leaves the message to the window's own procedure.
  const bool handled = AnswerOrDefault(
      [&] { return wnd->RouteMessage(message, wParam, lParam, result); }, [] { return false; });
  return handled ? result : ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace ui
