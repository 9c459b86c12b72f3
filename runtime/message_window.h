// The hidden message window of the UI thread: other threads reach the UI
// thread through it with sent messages (property access, shutdown).
#pragma once

#include <cstdint>

namespace rt {

void CreateMessageWindow();   // UI thread, while preparing
void DestroyMessageWindow();  // UI thread, while shutting down

// Sends the shutdown request to the UI thread. Returns only when the request
// came back: there is no message window, or a shutdown is already under way.
void HandShutdownToUiThread(std::int32_t code);

}  // namespace rt
