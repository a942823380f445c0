// The uninstaller, started as Windows' installed apps start it: through the UninstallString of
// the product's entry. Its message boxes belong to whichever of its processes shows them (it
// hands the work to a copy of itself), so they are looked for among all top-level windows.

#include <windows.h>

#include <tlhelp32.h>

#include <array>
#include <string>
#include <vector>

#include "tests/e2e/driver/screenshot_request.h"
#include "tests/e2e/driver/session.h"
#include "tests/e2e/driver/text.h"
#include "tests/e2e/driver/window_queries.h"

namespace e2e {
namespace {

constexpr DWORD kUninstallTimeoutMs = 60000;
constexpr const char* kUninstallCaption = "Zelvar软件卸载";
constexpr const char* kEntry =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelvar批打印软件";
constexpr int kMessageTextId = 0xFFFF;

struct UninstallMessage {
  std::string_view name;
  std::string_view text;
};
constexpr std::array<UninstallMessage, 4> kUninstallMessages{{
    {"confirm", "确定要卸载Zelvar批打印软件吗？"},
    {"acad-running", "请关闭AutoCAD后再进行卸载 !"},
    {"done", "Zelvar批打印软件已卸载完成 !"},
    // Done, with the user's own files kept in the product folder of C:\Zelvar.
    {"done-kept", "Zelvar批打印软件已卸载完成 !\n\n文件夹 C:\\Zelvar\\Zelvar批打印软件 "
                  "中有不是安装程序放入的文件或文件夹，已保留。"},
}};

BOOL CALLBACK CollectAll(HWND window, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

HWND FindUninstallBox() {
  std::vector<HWND> windows;
  ::EnumWindows(&CollectAll, reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows) {
    if (::IsWindowVisible(window) && ClassNameOf(window) == "#32770" &&
        ReadCaption(window) == kUninstallCaption) {
      return window;
    }
  }
  return nullptr;
}

bool UninstallerRuns() {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return true;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  bool runs = false;
  for (BOOL more = ::Process32First(snapshot, &entry); more && !runs;
       more = ::Process32Next(snapshot, &entry)) {
    runs = ::lstrcmpiA(entry.szExeFile, "UnInstall.exe") == 0;
  }
  ::CloseHandle(snapshot);
  return runs;
}

// The entry's UninstallString, from HKEY_LOCAL_MACHINE or else HKEY_CURRENT_USER, in the ANSI
// code page. The key's name is this build's code page 936 text, whatever the ANSI code page.
std::string UninstallString() {
  wchar_t entry[256] = {};
  ::MultiByteToWideChar(936, 0, kEntry, -1, entry, 255);
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof text[0];
    char narrow[2048] = {};
    if (::RegGetValueW(root, entry, L"UninstallString", RRF_RT_REG_SZ, nullptr, text, &size) ==
            ERROR_SUCCESS &&
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr) > 0) {
      return narrow;
    }
  }
  return {};
}

std::string WithoutCarriageReturns(const std::string& text) {
  std::string plain;
  for (char c : text) {
    if (c != '\r') plain += c;
  }
  return plain;
}

}  // namespace

bool Session::StartUninstaller() {
  std::string command = UninstallString();
  if (command.empty()) {
    report_.Fail("uninstall-start", "the entry has no UninstallString");
    return false;
  }
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  const bool ok = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &started) != FALSE;
  report_.Check(ok, Cat({"start ", Quoted(command)}), "CreateProcess failed");
  if (ok) {
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
  }
  return ok;
}

bool Session::ExpectUninstallMessage(const std::string& name) {
  const UninstallMessage* known = nullptr;
  for (const UninstallMessage& message : kUninstallMessages) {
    if (message.name == name) known = &message;
  }
  if (known == nullptr) {
    report_.Fail(Cat({"uninstall-expect:", name}), "no such message");
    return false;
  }
  const ULONGLONG deadline = ::GetTickCount64() + kUninstallTimeoutMs;
  messageBox_ = nullptr;
  while (messageBox_ == nullptr && ::GetTickCount64() < deadline) {
    messageBox_ = FindUninstallBox();
    if (messageBox_ == nullptr) ::Sleep(100);
  }
  if (messageBox_ == nullptr) {
    report_.Fail(Cat({"uninstaller's message ", name, " shown"}), "no message box in time");
    return false;
  }
  WaitUntilIdle(messageBox_);
  const std::string text =
      WithoutCarriageReturns(ReadText(::GetDlgItem(messageBox_, kMessageTextId)).value_or(""));
  report_.Check(text == known->text, Cat({"uninstaller's message ", name, ": ", Quoted(text)}),
                "another text");
  return text == known->text;
}

bool Session::UninstallScreenshot(const std::string& name) {
  if (options_.screenshotFolder.empty()) {
    return true;
  }
  if (messageBox_ != nullptr) WaitUntilIdle(messageBox_);
  ::Sleep(300);
  const bool taken = RequestScreenshot(options_.screenshotFolder, name, 30000);
  report_.Check(taken, Cat({"screenshot ", name}), "not taken");
  return taken;
}

bool Session::WaitUninstallerEnd() {
  const ULONGLONG deadline = ::GetTickCount64() + kUninstallTimeoutMs;
  while (UninstallerRuns() && ::GetTickCount64() < deadline) {
    ::Sleep(100);
  }
  const bool ended = !UninstallerRuns();
  report_.Check(ended, "every UnInstall.exe process has ended", "one still runs");
  return ended;
}

}  // namespace e2e
