// Linked into the shipped programs only (target no_exceptions), never into
// the tests, which throw.
//
// The shipped code is built without exceptions, yet the C++ library's
// allocation and its helpers for container and string errors throw, and so
// would pull the whole exception machinery into the program: the unwinder,
// the exception classes with their strings, the thread support they need and
// the name demangler of the terminate handler, more than half of the
// program's code. These replacements end the program where an exception
// would have been thrown and nobody could have caught it.
#include <cstdlib>
#include <new>

namespace {

// The program's new handler reports exhausted memory and ends the process
// (the form runtime installs it before anything else is allocated).
[[noreturn]] void OutOfMemory() {
  if (std::new_handler handler = std::get_new_handler()) handler();
  std::abort();
}

}  // namespace

void* operator new(std::size_t size) {
  for (;;) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    std::new_handler handler = std::get_new_handler();
    if (!handler) std::abort();
    handler();
  }
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

// The library's throw helpers that its containers and strings call. All of
// them: one left out would bring the library's own file of helpers back,
// whose other definitions clash with these. A container or a string asked
// to grow past its limit is out of memory as far as the user is concerned;
// the others are faults of the program itself.
namespace std {
void __throw_bad_alloc() { OutOfMemory(); }
void __throw_bad_array_new_length() { OutOfMemory(); }
void __throw_length_error(const char*) { OutOfMemory(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
}  // namespace std

// What std::terminate calls; the library's own prints the exception's
// demangled type name, which nothing here could show.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
