#pragma once

#include <windows.h>

#include <span>

namespace ui {

class CWnd;

// One entry of a window class's message map: which command notification (by control id), which
// colour request or which other message goes to which member handler. Each class keeps one constant table; the
// handlers are members of the class, reached through the small trampolines below, so a table
// reads like the list of what the window answers.
struct MessageMapEntry {
  enum class Kind { Command, CtlColor, Message };
  Kind kind;
  UINT notifyCode;  // for commands: BN_CLICKED, EN_CHANGE; for messages: the message
  int id;           // for commands: the control id
  void (*onCommand)(CWnd& self);
  HBRUSH (*onCtlColor)(CWnd& self, HDC dc, CWnd& control, UINT ctlColor);
  void (*onMessage)(CWnd& self, WPARAM wParam, LPARAM lParam) = nullptr;
};

using MessageMap = std::span<const MessageMapEntry>;

namespace detail {
template <class Member>
struct MemberClass;
template <class T, class R, class... Args>
struct MemberClass<R (T::*)(Args...)> {
  using type = T;
};

template <auto Handler>
void InvokeCommand(CWnd& self) {
  using T = typename MemberClass<decltype(Handler)>::type;
  (static_cast<T&>(self).*Handler)();
}

template <auto Handler>
void InvokeMessage(CWnd& self, WPARAM wParam, LPARAM lParam) {
  using T = typename MemberClass<decltype(Handler)>::type;
  (static_cast<T&>(self).*Handler)(wParam, lParam);
}

template <auto Handler>
HBRUSH InvokeCtlColor(CWnd& self, HDC dc, CWnd& control, UINT ctlColor) {
  using T = typename MemberClass<decltype(Handler)>::type;
  return (static_cast<T&>(self).*Handler)(dc, control, ctlColor);
}
}  // namespace detail

// A click on the button `id` calls Handler().
template <auto Handler>
constexpr MessageMapEntry OnButtonClicked(int id) {
  return {MessageMapEntry::Kind::Command, BN_CLICKED, id, &detail::InvokeCommand<Handler>, nullptr};
}

// A change of the text of edit box `id` calls Handler().
template <auto Handler>
constexpr MessageMapEntry OnEditChanged(int id) {
  return {MessageMapEntry::Kind::Command, EN_CHANGE, id, &detail::InvokeCommand<Handler>, nullptr};
}

// Every WM_CTLCOLOR* request (the window's own included) calls Handler(dc, control, kind),
// kind being CTLCOLOR_MSGBOX ... CTLCOLOR_STATIC; its brush paints the control.
template <auto Handler>
constexpr MessageMapEntry OnCtlColorRequest() {
  return {MessageMapEntry::Kind::CtlColor, 0, 0, nullptr, &detail::InvokeCtlColor<Handler>};
}

// The message `message` calls Handler(wParam, lParam), and then goes on to the window's
// default handling (the dialog manager's, or the subclassed window's own procedure) as if no
// handler had seen it.
template <auto Handler>
constexpr MessageMapEntry OnMessage(UINT message) {
  return {MessageMapEntry::Kind::Message, message, 0, nullptr, nullptr,
          &detail::InvokeMessage<Handler>};
}

}  // namespace ui
