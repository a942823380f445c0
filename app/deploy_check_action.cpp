// The Windows Installer package's check of its properties, run before anything changes: the
// command the package's deferred action will give zelvar-deploy.exe, built from INSTALLFOLDER
// and RELEASES and checked by the tool's own command-line rules. A bad one (RELEASES=abc, a
// relative INSTALLFOLDER) stops the installation with the tool's message in the log; the tool
// itself is not there yet, so it could not say so before its files were copied.

#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>
#include <vector>

#include "app/ansi_code_page.h"
#include "platform/ansi_text.h"
#include "deploy/command_line.h"

namespace {

// A handle Windows Installer gave out, closed when the holder goes.
class MsiHandle {
 public:
  explicit MsiHandle(MSIHANDLE handle) : handle_(handle) {}
  MsiHandle(const MsiHandle&) = delete;
  MsiHandle& operator=(const MsiHandle&) = delete;
  ~MsiHandle() {
    if (handle_ != 0) MsiCloseHandle(handle_);
  }
  MSIHANDLE get() const { return handle_; }

 private:
  MSIHANDLE handle_;
};

// A property's value in the ANSI code page; empty when it is unset or cannot be read.
std::string Property(MSIHANDLE install, const char* name) {
  char probe[1] = "";
  DWORD size = 0;
  const UINT asked = MsiGetPropertyA(install, name, probe, &size);
  if (asked != ERROR_MORE_DATA) return {};
  std::string value(size + 1, '\0');
  DWORD capacity = size + 1;
  if (MsiGetPropertyA(install, name, value.data(), &capacity) != ERROR_SUCCESS) return {};
  value.resize(capacity);
  return value;
}

// Into the installation's log as an error, and into its message box where it has a UI. The
// record's template is formatted, so the text's own brackets ("[--log FILE]") are escaped,
// whole characters at a time: a trail byte of code page 936 may be a bracket's byte.
void ReportError(MSIHANDLE install, const std::string& text) {
  std::string formatted;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = ansi::CharLengthAt(text, pos);
    if (length == 1 && (text[pos] == '[' || text[pos] == ']')) {
      formatted += std::string("[\\") + text[pos] + "]";
    } else {
      formatted.append(text, pos, length);
    }
    pos += length;
  }
  const MsiHandle record(MsiCreateRecord(0));
  if (record.get() == 0) return;
  MsiRecordSetStringA(record.get(), 0, formatted.c_str());
  MsiProcessMessage(install, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_ERROR | MB_OK),
                    record.get());
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall CheckDeployArguments(MSIHANDLE install) {
  app::UseAnsiCodePage();
  const std::string folder = Property(install, "INSTALLFOLDER");
  // The deferred action runs the tool through cmd.exe, which would put a variable's value in
  // place of a %NAME% in the folder: the tool would be told of another folder than the one
  // installed. '%' is no trail byte in any code page the package meets.
  if (folder.find('%') != std::string::npos) {
    ReportError(install, "zelvar-deploy: INSTALLFOLDER " + folder +
                             " holds '%', which the installation cannot pass on unchanged");
    return ERROR_INSTALL_FAILURE;
  }
  // "\." as the deferred action passes it: a quoted folder ending in "\" would escape its quote.
  const std::vector<std::string> args{"machine", "--folder", folder + ".", "--releases",
                                      Property(install, "RELEASES")};
  deploy::DeployCommand command;
  std::string error;
  if (deploy::ParseCommandLine(args, command, error)) return ERROR_SUCCESS;
  ReportError(install, "zelvar-deploy: " + error + "\n" + deploy::kUsageText);
  return ERROR_INSTALL_FAILURE;
}
