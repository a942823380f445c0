#pragma once

namespace ui {

// Runs the program's handling of one message at the edge where the system called in: a window
// procedure, a dialog procedure, a subclass procedure or a shell callback. No exception may
// unwind into the system's frames (Windows may swallow it half-way through its own work or end
// the program), and the realistic one, std::bad_alloc from a string, must not end the setup
// either. Whatever escapes `handle` is caught here and the message gets `fallback()`: what the
// system answers for a message nobody handled. `fallback` must not throw.
template <class Handle, class Fallback>
auto AnswerOrDefault(Handle&& handle, Fallback&& fallback) noexcept -> decltype(handle()) {
  try {
    return handle();
  } catch (...) {
    return fallback();
  }
}

}  // namespace ui
