#pragma once

#include <windows.h>

#include <string>

namespace ui {

// The program's one application object. Its start-up routine runs from AfxWinMain; a FALSE
// result means start-up left nothing running, and the program goes straight to its exit path.
class CWinApp {
 public:
  // With no name, the program's file name without its extension names the application.
  explicit CWinApp(const char* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance();
  virtual int ExitInstance();

  // The caption of the application's message boxes.
  const char* AppName() const { return appName_.c_str(); }

 private:
  friend int AfxWinMain(HINSTANCE instance);
  void ResolveAppName();

  std::string appName_;
  bool nameGiven_;
};

CWinApp* AfxGetApp();

// Runs the application object: resolves its name, prepares the common controls the dialogs
// use, calls InitInstance and then ExitInstance. Returns the exit code.
int AfxWinMain(HINSTANCE instance);

}  // namespace ui
