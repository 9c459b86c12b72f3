// The installer's global record and its exit hook.
#pragma once

#include <cstdint>

#include "runtime/text.h"
#include "runtime/text_array.h"

namespace installer {

struct InstallerState {
  rt::Text ProductName;           // the selected catalogue element; empty until the created event
  rt::TextArray Catalogue;        // CatalogueText split at "|"; no elements until the created event
  std::int32_t ProductIndex = 0;  // 1-based; 0 until the created event
  const char* CatalogueText = ""; // refers to the compiled-in catalogue, never modified
};

// The one process-wide record. Written on the UI thread by start-up and the
// created event, before the message loop; only read afterwards, from any thread.
InstallerState& State();

// The exit hook: releases the record's texts and array. It runs on the UI
// thread after the window is gone. A thread the installer started may still
// run then (the user closed the window during an installation) and read the
// product name; that text is then kept, the end of the process follows.
void ReleaseGlobals();

}  // namespace installer
