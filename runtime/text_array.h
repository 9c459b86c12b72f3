// A one-dimensional array of texts, indexed from 1. An index outside
// 1..count is a run-time error that ends the program (codes 4 and 1).
#pragma once

#include <vector>

#include "runtime/text.h"

namespace rt {

struct IndexError {
  int code;             // 0 when the index is valid
  const char* message;  // GBK; empty when the index is valid
};

// The run-time error that indexing an array of count elements at index gives:
// below 1 is tested first (code 4), then above the count (code 1).
IndexError CheckIndex(int index, int count);

class TextArray {
 public:
  TextArray() = default;
  explicit TextArray(std::vector<Text> elements) : elements_(std::move(elements)) {}

  int Count() const { return static_cast<int>(elements_.size()); }
  // The element at a 1-based index; reports the run-time error for a bad one.
  const Text& operator[](int index) const;

 private:
  std::vector<Text> elements_;
};

}  // namespace rt
