#include "runtime/text_array.h"

#include "runtime/runtime_error.h"

namespace rt {

IndexError CheckIndex(int index, int count) {
  if (index - 1 < 0) return {4, "数组成员引用下标必须大于等于1"};
  if (index - 1 >= count) return {1, "数组成员引用下标超出定义范围"};
  return {0, ""};
}

const Text& TextArray::operator[](int index) const {
  const IndexError e = CheckIndex(index, Count());
  if (e.code != 0) ReportRuntimeError(e.code, e.message);
  return elements_[static_cast<std::size_t>(index - 1)];
}

}  // namespace rt
