#pragma once

#include <windows.h>

#include "ui/data_exchange.h"
#include "ui/wnd.h"

namespace ui {

// A modal dialog built from a dialog template of the program's resources. The derived class
// names its controls' exchange in DoDataExchange, its handlers in GetMessageMap, and may
// override the initialisation and the two ways out.
class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, HWND parent = nullptr);
  ~CDialog() override = default;

  // Runs the dialog; returns the value it was ended with (IDOK, IDCANCEL, ...) or -1 when the
  // dialog could not be created.
  virtual INT_PTR DoModal();

  // saveAndValidate: controls -> members; otherwise members -> controls.
  bool UpdateData(bool saveAndValidate = true);
  void EndDialog(int result) const;

 protected:
  virtual void DoDataExchange(CDataExchange* dx);
  // Pushes the members into the controls; returns TRUE to let the dialog set the focus.
  virtual BOOL OnInitDialog();
  // Pulls the controls into the members and ends the dialog with IDOK.
  virtual void OnOK();
  // Ends the dialog with IDCANCEL.
  virtual void OnCancel();

  // The system's colours for the request, as a window without a handler gets them.
  HBRUSH OnCtlColor(HDC dc, CWnd& control, UINT ctlColor);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  UINT templateId_;
  HWND parent_;
};

// Where dialog templates, bitmaps and icons are loaded from: the program's own file unless a
// test points elsewhere.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

}  // namespace ui
