// Linked as Lorvane.exe is, raises one exception the way the C++ runtime does: a failed
// allocation, a length or bound check, a call of an empty function object. The process must end
// through abort, as an uncaught exception did, and neither go on nor crash nor hang.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  // Volatile, so that the compiler cannot see the request fail and leave the call out.
  volatile std::size_t huge = SIZE_MAX / 2;
  if (what == "new") {
    void* block = ::operator new(huge);
    std::printf("allocated %p\n", block);
  } else if (what == "vector") {
    std::vector<int> numbers;
    numbers.reserve(huge);
  } else if (what == "wstring") {
    std::wstring text(huge, L'x');
    std::printf("%u\n", static_cast<unsigned>(text.size()));
  } else if (what == "map") {
    std::map<int, int> entries{{1, 1}};
    std::printf("%d\n", entries.at(static_cast<int>(huge & 2)));
  } else if (what == "function") {
    std::function<void()> nothing;
    nothing();
  } else {
    // Nothing raised: the probe starts and ends normally.
    std::vector<std::wstring> names{L"a", L"b"};
    std::printf("ran %u\n", static_cast<unsigned>(names.size()));
    return 0;
  }
  std::printf("survived %s\n", what.c_str());
  return 1;
}
