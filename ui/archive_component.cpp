#include "ui/archive_component.h"

#include "ui/main_window.h"

namespace ui {

namespace {

void* MakeArchiveComponent(const rt::ComponentSite& site) {
  auto* extractor = new payload::ArchiveExtractor;
  extractor->SetProgressHandler([site](int32_t percent) { return site.Raise(rt::Event::Progress, percent); });
  return extractor;
}

void EndArchiveComponent(void* instance) { delete static_cast<payload::ArchiveExtractor*>(instance); }

}  // namespace

const rt::ComponentType kArchiveComponentType{MakeArchiveComponent, EndArchiveComponent};

payload::ArchiveExtractor& ArchiveComponent() {
  return *static_cast<payload::ArchiveExtractor*>(MainWindowControl(kArchiveComponent).Component());
}

}  // namespace ui
