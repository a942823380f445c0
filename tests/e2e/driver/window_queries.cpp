#include "tests/e2e/driver/window_queries.h"

#include "tests/e2e/driver/text.h"

#include <algorithm>
#include <array>

namespace e2e {

namespace {
constexpr UINT kSendFlags = SMTO_ABORTIFHUNG | SMTO_BLOCK;

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto& found = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == found.first) {
    found.second.push_back(window);
  }
  return TRUE;
}

// The driver's expected texts are code page 936 bytes, as every narrow literal of this build:
// where the ANSI code page is UTF-8, a text read goes on as code page 936 (too long: empty).
std::string AsCodePage936(const std::string& text) {
  if (::GetACP() != CP_UTF8) return text;
  wchar_t wide[4096];
  char narrow[8192];
  const int units =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide, 4096);
  const int bytes = ::WideCharToMultiByte(936, 0, wide, units, narrow, 8192, nullptr, nullptr);
  return std::string(narrow, bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  auto& found = *reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(param);
  // Only direct children: a message box's or a dialog's controls, not their inner windows.
  if (::GetParent(window) == found.first) {
    found.second.push_back(window);
  }
  return TRUE;
}
}  // namespace

std::optional<std::string> ReadText(HWND window) {
  DWORD_PTR length = 0;
  if (::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, kSendFlags, kAnswerTimeoutMs,
                            &length) == 0) {
    return std::nullopt;
  }
  // The length is an upper bound in bytes of the caller's code page; one more for the NUL.
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  DWORD_PTR copied = 0;
  if (::SendMessageTimeoutA(window, WM_GETTEXT, text.size(),
                            reinterpret_cast<LPARAM>(text.data()), kSendFlags, kAnswerTimeoutMs,
                            &copied) == 0) {
    return std::nullopt;
  }
  text.resize(std::min(static_cast<std::size_t>(copied), text.size() - 1));
  return AsCodePage936(text);
}

std::string ReadCaption(HWND window) {
  std::array<char, 512> text{};
  const int length = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  return AsCodePage936(std::string(text.data(), static_cast<std::size_t>(length > 0 ? length : 0)));
}

std::string ClassNameOf(HWND window) {
  std::array<char, 256> name{};
  const int length = ::GetClassNameA(window, name.data(), static_cast<int>(name.size()));
  return std::string(name.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

std::optional<LRESULT> ReadCheck(HWND button) {
  DWORD_PTR state = 0;
  if (::SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, kSendFlags, kAnswerTimeoutMs, &state) ==
      0) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(state);
}

bool Click(HWND button) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutA(button, BM_CLICK, 0, 0, kSendFlags, kAnswerTimeoutMs, &ignored) !=
         0;
}

bool PostClick(HWND button) { return ::PostMessageA(button, BM_CLICK, 0, 0) != 0; }

bool WaitUntilIdle(HWND window) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, kSendFlags, kAnswerTimeoutMs, &ignored) !=
         0;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  std::pair<DWORD, std::vector<HWND>> found{processId, {}};
  ::EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

std::vector<HWND> ChildWindowsOf(HWND parent) {
  std::pair<HWND, std::vector<HWND>> found{parent, {}};
  ::EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

RECT RectInParent(HWND child, HWND parent) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string DescribeWindow(HWND window) {
  std::string line = Cat({"[", ClassNameOf(window), "] ", Quoted(ReadCaption(window))});
  for (HWND child : ChildWindowsOf(window)) {
    const std::optional<std::string> text = ReadText(child);
    if (text && !text->empty()) {
      line += Cat({" | ", *text});
    }
  }
  return line;
}

}  // namespace e2e
