// zelvar-deploy.exe: registers and removes the plug-in without asking anyone, for the Windows
// Installer package's custom actions, Active Setup at each user's logon and administrators'
// scripts. The work is deploy::RunDeploy; this file only turns Windows' command line into the
// ANSI code page's text the rest of the program works in, and tells standard error.

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/ansi_code_page.h"
#include "deploy/command_line.h"
#include "deploy/verbs.h"
#include "platform/code_page.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr int kBadArguments = 2;

// The words of the process's own command line, as CommandLineToArgvW splits them; it
// allocates them in one block, which LocalFree releases.
class ArgumentWords {
 public:
  ArgumentWords() : words_(CommandLineToArgvW(GetCommandLineW(), &count_)) {}
  ~ArgumentWords() {
    if (words_ != nullptr) LocalFree(words_);
  }
  ArgumentWords(const ArgumentWords&) = delete;
  ArgumentWords& operator=(const ArgumentWords&) = delete;

  int Count() const { return words_ == nullptr ? 0 : count_; }
  std::u16string Word(int index) const {
    const wchar_t* word = words_[index];
    return std::u16string(word, word + lstrlenW(word));
  }

 private:
  int count_ = 0;
  LPWSTR* words_;
};

// The arguments after the program's name in the ANSI code page. An argument the code page
// cannot carry would come out with '?' in place of its characters and name another folder:
// false then, with that argument in `unconvertible`.
bool ReadArguments(std::vector<std::string>& args, std::u16string& unconvertible) {
  const unsigned codePage = GetACP();
  const ArgumentWords words;
  for (int k = 1; k < words.Count(); ++k) {
    const std::u16string word = words.Word(k);
    std::string narrow = code_page::FromUtf16(codePage, word);
    if (code_page::ToUtf16(codePage, narrow) != word) {
      unconvertible = word;
      return false;
    }
    args.push_back(std::move(narrow));
  }
  return true;
}

void WriteWide(HANDLE handle, std::u16string_view text) {
  const std::wstring wide(text.begin(), text.end());
  DWORD written = 0;
  WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

// A console is given UTF-16, so a Chinese path shows as it is whatever the console's own code
// page; a file or a pipe gets the ANSI code page's bytes, as the log holds them.
void WriteStandardError(std::u16string_view wideText, const std::string& text) {
  const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode) != FALSE) {
    WriteWide(handle, wideText.empty() ? code_page::ToUtf16(GetACP(), text) : wideText);
    return;
  }
  DWORD written = 0;
  WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void WriteStandardError(const std::string& text) { WriteStandardError({}, text); }

}  // namespace

int main() {
  app::UseAnsiCodePage();
  std::vector<std::string> args;
  std::u16string unconvertible;
  if (!ReadArguments(args, unconvertible)) {
    const std::u16string reason = u"zelvar-deploy: an argument holds characters the code page "
                                  u"of this Windows cannot carry: " + unconvertible + u"\n";
    const std::string usage = deploy::kUsageText;
    WriteStandardError(reason + code_page::ToUtf16(GetACP(), usage),
                       code_page::FromUtf16(GetACP(), reason) + usage);
    return kBadArguments;
  }
  platform::Win32Platform machine;
  std::string errorOutput;
  const int exitCode = deploy::RunDeploy(machine.Get(), args, errorOutput);
  WriteStandardError(errorOutput);
  return exitCode;
}
