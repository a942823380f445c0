#pragma once

#include <cstdint>
#include <string>

namespace ui {

class CDialog;
class CWnd;

// One direction of the exchange between a dialog's controls and its members: saveAndValidate
// pulls the controls' values into the members, otherwise the members are pushed into the
// controls.
struct CDataExchange {
  CDialog& dialog;
  bool saveAndValidate;
};

// Binds the control `id` to `control` (once; a control stays bound to its first object).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// A check box's tick state: ticked <-> 1, not ticked <-> 0.
void DDX_Check(CDataExchange* dx, int id, std::int32_t& value);
// A control's text.
void DDX_Text(CDataExchange* dx, int id, std::string& value);

}  // namespace ui
