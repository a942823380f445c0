#include "ui/data_exchange.h"

#include <windows.h>

#include "ui/dialog.h"

namespace ui {

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  control.Attach(dx->dialog.GetDlgItem(id));
}

void DDX_Check(CDataExchange* dx, int id, std::int32_t& value) {
  const HWND box = dx->dialog.GetDlgItem(id);
  if (dx->saveAndValidate) {
    value = ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  } else {
    ::SendMessageA(box, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
  CWnd control(dx->dialog.GetDlgItem(id));
  if (dx->saveAndValidate) {
    value = control.GetWindowText();
  } else {
    control.SetWindowText(value.c_str());
  }
}

}  // namespace ui
