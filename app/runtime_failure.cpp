// The C++ runtime's raising points, replaced for Lorvane.exe (see runtime_failure.h). The
// runtime's own definitions of these helpers, and of the allocation functions, throw; linked
// instead of them, these leave the exception machinery, its unwinder and the threads library the
// unwinder locks with out of the exe. A helper the program comes to reach that is missing here
// brings the runtime's throwing ones back: the link fails on those defined twice, and the link
// map check finds the exception machinery.
#include "app/runtime_failure.h"

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void end_on_runtime_failure() { std::_Exit(lorvane::app::runtime_failure_exit_code); }

}  // namespace

namespace std {

void __throw_bad_alloc() { end_on_runtime_failure(); }
void __throw_bad_array_new_length() { end_on_runtime_failure(); }
void __throw_length_error(const char*) { end_on_runtime_failure(); }
void __throw_logic_error(const char*) { end_on_runtime_failure(); }
void __throw_out_of_range(const char*) { end_on_runtime_failure(); }
void __throw_out_of_range_fmt(const char*, ...) { end_on_runtime_failure(); }
void __throw_bad_function_call() { end_on_runtime_failure(); }

}  // namespace std

// The replaceable allocation functions: the runtime's operator new throws bad_alloc itself.
void* operator new(std::size_t size) {
  if (void* block = std::malloc(size != 0 ? size : 1)) return block;
  end_on_runtime_failure();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
