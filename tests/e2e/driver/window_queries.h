#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Reading and driving the windows of another process. Every message that waits for the other
// process's answer has a time limit, so a hung or vanished program fails a check instead of
// hanging the driver.
namespace e2e {

inline constexpr UINT kAnswerTimeoutMs = 5000;

// The window's text as WM_GETTEXT answers it (edit boxes keep their text to themselves, so the
// text the system holds for the window is not enough); nothing when the window did not answer.
// Both read texts in code page 936 bytes also where the ANSI code page is UTF-8.
std::optional<std::string> ReadText(HWND window);
// The window's caption as the system holds it (GetWindowTextA).
std::string ReadCaption(HWND window);
std::string ClassNameOf(HWND window);
// BM_GETCHECK; nothing when the window did not answer.
std::optional<LRESULT> ReadCheck(HWND button);

// BM_CLICK, answered by the other process before this returns (false if it did not answer).
bool Click(HWND button);
// BM_CLICK without waiting: for a click that ends the program or opens a modal box.
bool PostClick(HWND button);
// Waits until the other thread has worked through what was sent to it so far.
bool WaitUntilIdle(HWND window);

std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::vector<HWND> ChildWindowsOf(HWND parent);

// The child's window rectangle in its parent's client coordinates.
RECT RectInParent(HWND child, HWND parent);

// One line about a window for failure messages: class, caption and the texts of its
// children (the message of a message box, its buttons).
std::string DescribeWindow(HWND window);

}  // namespace e2e
