#pragma once
// The named objects by which copies of the program find each other: a mutex that the copy which
// runs on a settings file holds until it ends, and a slot of shared memory that names its main
// window.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/unique_handles.h"

namespace lorvane::platform::running_copy {

// The text in upper case, as the file system compares names.
std::wstring upper_case(const std::wstring& text);

// Creates or opens the named mutex: its handle, or null with the error. A copy that runs as
// administrator makes a mutex that a normal start may not open (access denied); Wine knows no
// integrity levels, so tests put that answer in place of this one.
using CreateMutexCall = std::function<HANDLE(const std::wstring& name, DWORD& error)>;
HANDLE create_mutex(const std::wstring& name, DWORD& error);

enum class MutexTake {
  taken,  // free, or its holder ended without letting go, or there is no mutex to take (the
          // program then runs unguarded rather than not at all)
  held,   // another copy holds it
  denied  // another copy holds it, and runs with rights this one lacks
};

class NamedMutex {
 public:
  explicit NamedMutex(const std::wstring& name, const CreateMutexCall& create = create_mutex);
  // Waits up to the time for the mutex and keeps it until the process ends. A denied mutex
  // answers at once.
  MutexTake take(DWORD timeout_ms);

 private:
  // Before the handle, whose creation fills it.
  DWORD error_ = ERROR_SUCCESS;
  UniqueKernelHandle handle_;
};

// Where the copy that runs names its main window, for as long as it runs. It is written once the
// copy's start-up is over, so a second start never reaches a main window in the middle of its
// start-up, whose own waits (the tray's, the shell's) would hand it the bring-back message early;
// bring_back_any, which finds windows by their class, is for a copy whose slot may not be read.
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
bool bring_back(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);

// Sends the message to every top-level window of the class in turn, as bring_back does, until
// one answers TRUE.
bool bring_back_any(const wchar_t* window_class, UINT message, WPARAM wparam, LPARAM lparam);

// Lets the message reach the window from programs of a lower integrity level: the shell's
// TaskbarCreated, the icon's callback and a normal start's call reach a copy that runs as
// administrator. Windows 7 has the function; it is looked up all the same, and its absence
// changes nothing.
void accept_from_lower_integrity(HWND window, UINT message);

}  // namespace lorvane::platform::running_copy
