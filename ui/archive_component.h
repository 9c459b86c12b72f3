// ZIP压缩1, the main window's archive component: a payload::ArchiveExtractor
// whose progress event goes to the handler bound in the window description,
// called on the thread that runs the extraction.
#pragma once

#include "payload/archive_extractor.h"
#include "runtime/window_description.h"

namespace ui {

extern const rt::ComponentType kArchiveComponentType;

// The component of the loaded main window (the run-time error report when
// the window is not loaded).
payload::ArchiveExtractor& ArchiveComponent();

}  // namespace ui
