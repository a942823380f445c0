#pragma once

namespace ui {

// Keeps the windows of this thread alive while a long piece of work runs on it (a copy from a
// share or a slow stick easily takes longer than the five seconds after which Windows calls a
// window "not responding", ghosts it and stops its painting): dispatches what waits in the
// thread's queue (paint, timers, what other programs send or post) and drops the user's input,
// mouse, keyboard, touch and pen, as a disabled window never gets it. Input kept for later
// would act once the work is done, on a window that by then shows another look (a click on
// Cancel during the copy would end the setup at its finished look). Returns at once when
// nothing waits.
void DispatchAllButInput();

}  // namespace ui
