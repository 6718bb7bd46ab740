// Raises one exception the way the C++ runtime does: a failed allocation, a length or bound
// check, a call of an empty function object. Linked as Lorvane.exe is, the process must end with
// the program's own exit code for it, and neither go on nor crash nor hang; linked as an
// ordinary program, it ends through an uncaught exception, which the test tells apart.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/runtime_failure.h"

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  // Volatile, so that the compiler cannot see the request fail and leave the call out.
  volatile std::size_t huge = SIZE_MAX / 2;
  if (what == "new") {
    void* block = ::operator new(huge);
    std::printf("allocated %p\n", block);
  } else if (what == "allocator") {
    std::printf("allocated %p\n", static_cast<void*>(std::allocator<char>().allocate(huge + 1)));
  } else if (what == "array") {
    std::allocator<std::wstring> strings;
    std::printf("allocated %p\n", static_cast<void*>(strings.allocate(huge)));
  } else if (what == "vector") {
    std::vector<int> numbers;
    numbers.reserve(huge);
  } else if (what == "wstring") {
    std::wstring text(huge, L'x');
    std::printf("%u\n", static_cast<unsigned>(text.size()));
  } else if (what == "null") {
    volatile const wchar_t* none = nullptr;
    std::wstring text(const_cast<const wchar_t*>(none));
    std::printf("%u\n", static_cast<unsigned>(text.size()));
  } else if (what == "substr") {
    std::wstring text(L"ab");
    std::printf("%u\n", static_cast<unsigned>(text.substr(huge & 7).size()));
  } else if (what == "map") {
    std::map<int, int> entries{{1, 1}};
    std::printf("%d\n", entries.at(static_cast<int>(huge & 2)));
  } else if (what == "function") {
    std::function<void()> nothing;
    nothing();
  } else {
    // Nothing raised: the probe starts and ends normally, and names the code of the other ends.
    std::vector<std::wstring> names{L"a", L"b"};
    std::printf("ran %u, runtime failures end with %d\n", static_cast<unsigned>(names.size()),
                lorvane::app::runtime_failure_exit_code);
    return 0;
  }
  std::printf("survived %s\n", what.c_str());
  return 1;
}
