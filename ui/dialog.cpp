#include "ui/dialog.h"

#include "ui/window_edge.h"

namespace ui {

namespace {
HINSTANCE resourceModule = nullptr;
}  // namespace

HINSTANCE AfxGetResourceHandle() {
  return resourceModule != nullptr ? resourceModule : ::GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module) { resourceModule = module; }

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

INT_PTR CDialog::DoModal() {
  const INT_PTR result =
      ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(templateId_), parent_,
                        &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  m_hWnd = nullptr;
  return result;
}

bool CDialog::UpdateData(bool saveAndValidate) {
  CDataExchange dx{*this, saveAndValidate};
  DoDataExchange(&dx);
  return true;
}

void CDialog::EndDialog(int result) const { ::EndDialog(m_hWnd, result); }

void CDialog::DoDataExchange(CDataExchange* /*dx*/) {}

BOOL CDialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(true);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

HBRUSH CDialog::OnCtlColor(HDC dc, CWnd& control, UINT ctlColor) {
  return reinterpret_cast<HBRUSH>(
      ::DefWindowProcA(m_hWnd, WM_CTLCOLORMSGBOX + ctlColor, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(control.GetSafeHwnd())));
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // FALSE hands the message to the dialog manager's default handling.
  return AnswerOrDefault(
      [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
          auto* dialog = reinterpret_cast<CDialog*>(lParam);
          ::SetWindowLongPtrA(window, DWLP_USER, lParam);
          dialog->m_hWnd = window;
          return dialog->OnInitDialog();
        }
        auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
        if (dialog == nullptr) {
          return FALSE;
        }
        return dialog->HandleMessage(message, wParam, lParam);
      },
      []() -> INT_PTR { return FALSE; });
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (RouteMessage(message, wParam, lParam, result)) {
    // A colour request answers with its brush; everything else is handled.
    return message == WM_COMMAND ? TRUE : static_cast<INT_PTR>(result);
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    // The Enter key, the Esc key and the close box arrive here as IDOK and IDCANCEL.
    switch (LOWORD(wParam)) {
      case IDOK:
        OnOK();
        return TRUE;
      case IDCANCEL:
        OnCancel();
        return TRUE;
      default:
        break;
    }
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
  }
  return FALSE;
}

}  // namespace ui
