#include "ui/win_app.h"

#include <commctrl.h>

#include "ui/dialog.h"
#include "ui/logic/program_title.h"

namespace ui {

namespace {
CWinApp* theApplication = nullptr;

// The program file's name without folder and extension: "D:\Setup\SetUp.exe" -> "SetUp".
std::string ProgramFileTitle() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return {};
  }
  return ProgramTitleOf(std::string_view(path, length));
}
}  // namespace

CWinApp::CWinApp(const char* appName)
    : appName_(appName != nullptr ? appName : ""), nameGiven_(appName != nullptr) {
  theApplication = this;
}

CWinApp::~CWinApp() {
  if (theApplication == this) {
    theApplication = nullptr;
  }
}

BOOL CWinApp::InitInstance() { return FALSE; }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::ResolveAppName() {
  if (!nameGiven_) {
    appName_ = ProgramFileTitle();
  }
}

CWinApp* AfxGetApp() { return theApplication; }

int AfxWinMain(HINSTANCE instance) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) {
    return -1;
  }
  AfxSetResourceHandle(instance);
  app->ResolveAppName();
  // The setup dialog holds a progress bar, a common control.
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  // The program has no window of its own beyond its modal dialogs, so start-up never leaves
  // anything running and there is no message loop to enter.
  app->InitInstance();
  return app->ExitInstance();
}

int AfxMessageBox(const char* text, UINT flags, HWND owner) {
  const CWinApp* app = AfxGetApp();
  return ::MessageBoxA(owner, text, app != nullptr ? app->AppName() : "", flags);
}

}  // namespace ui
