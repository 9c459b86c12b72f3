// Work carried out on the UI thread for any thread, synchronously.
#pragma once

namespace rt {

// Runs fn(context) on the UI thread and returns when it has run: directly when
// called there, otherwise sent (not posted) to the hidden message window, so
// the caller waits while the UI thread never waits for the caller. Returns
// false when there is no UI thread to run it. A caller on another thread is
// parked when the program is closing down (see ClosingDown).
bool CallOnUiThread(void (*fn)(void*), void* context);

template <typename F>
bool OnUiThread(F& work) {
  return CallOnUiThread([](void* p) { (*static_cast<F*>(p))(); }, &work);
}

}  // namespace rt
