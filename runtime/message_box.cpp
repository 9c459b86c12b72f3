#include "runtime/message_box.h"

#include <windows.h>

namespace rt {

std::int32_t ShowMessageBox(const Text& text, std::uint32_t flags, const char* title) {
  if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
  const int answer = MessageBoxA(nullptr, text.c_str(), title ? title : "信息：", flags);
  return answer == 0 ? 0 : answer - 1;
}

}  // namespace rt
