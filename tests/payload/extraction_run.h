// One call of Extract with everything it reported: the progress values in
// order, what ExtractionFailed() said at each of them, and the result.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "payload/archive_extractor.h"

struct ExtractionRun {
  std::vector<int32_t> events;
  std::vector<bool> failed_at_event;
  int32_t result = 99;

  bool FailedAtFinalEvent() const { return !failed_at_event.empty() && failed_at_event.back(); }
};

// Extracts archive into target; answer (when given) answers each event.
inline ExtractionRun RunExtract(const std::string& archive, const std::string& target,
                                std::function<std::optional<bool>(int32_t)> answer = {}) {
  payload::ArchiveExtractor extractor;
  ExtractionRun run;
  extractor.SetProgressHandler([&](int32_t percent) -> std::optional<bool> {
    run.events.push_back(percent);
    run.failed_at_event.push_back(extractor.ExtractionFailed());
    return answer ? answer(percent) : std::nullopt;
  });
  run.result = extractor.Extract(archive.c_str(), target.c_str());
  return run;
}
