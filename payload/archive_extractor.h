// The archive component: extracts a ZIP archive file into a directory and
// reports its progress, entry by entry, through the progress event.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "runtime/text.h"

namespace payload {

class ArchiveExtractor {
 public:
  // The progress event's handler: gets the percentage, may answer.
  // std::nullopt = no answer, false = stop after the current entry.
  using ProgressHandler = std::function<std::optional<bool>(int32_t percent)>;

  void SetProgressHandler(ProgressHandler handler) { handler_ = std::move(handler); }

  // Extracts the archive file into the target directory, making the target
  // with its missing levels first. Raises the progress event on the calling
  // thread after each entry (the share of entries before it) and once at the
  // end, after the archive is closed (100, or 0 when no entry was counted).
  // Returns 1 when every entry the archive declares was extracted or the
  // handler asked to stop, 0 when the extraction failed after the archive
  // file was found (files written before the failure stay), -1 when the
  // archive file does not exist.
  int32_t Extract(const rt::Text& archive, const rt::Text& target);

  // Valid inside the progress handler during the final event (and after
  // Extract returns): true when this extraction failed, its result not 1.
  bool ExtractionFailed() const { return failed_; }

 private:
  std::optional<bool> RaiseProgress(int32_t percent);
  // Raises the final event for total counted entries and returns result.
  int32_t Finish(int32_t result, uint64_t total);

  ProgressHandler handler_;
  bool failed_ = false;
};

}  // namespace payload
