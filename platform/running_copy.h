#pragma once
// The named objects by which copies of the program find each other: a mutex that the copy which
// runs on a settings file holds until it ends, and a slot of shared memory that names its main
// window.
#include <windows.h>

#include <string>

#include "platform/unique_handles.h"

namespace lorvane::platform::running_copy {

// The text in upper case, as the file system compares names.
std::wstring upper_case(const std::wstring& text);

class NamedMutex {
 public:
  explicit NamedMutex(const std::wstring& name);
  // Waits up to the time for the mutex and keeps it until the process ends. True when it was
  // free or its holder ended without letting go, and also when there is no mutex to take: the
  // program then runs unguarded rather than not at all.
  bool take(DWORD timeout_ms);

 private:
  UniqueKernelHandle handle_;
};

// Where the copy that runs names its main window, for as long as it runs.
class WindowSlot {
 public:
  explicit WindowSlot(const std::wstring& name);
  void publish(HWND window);

 private:
  UniqueKernelHandle mapping_;
  UniqueView view_;
};

// The window published under the name, or null when there is none (yet).
HWND published_window(const std::wstring& name);

// Lets the window's process take the foreground, then sends it the message and waits a while for
// it to be handled: true when the window answered TRUE.
bool bring_back(HWND window, UINT message);

}  // namespace lorvane::platform::running_copy
