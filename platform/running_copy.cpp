#include "platform/running_copy.h"

#include <cstdint>

namespace lorvane::platform::running_copy {
namespace {

// A window handle's 32 significant bits, the same in 32- and 64-bit processes.
using StoredWindow = std::uint32_t;

}  // namespace

std::wstring upper_case(const std::wstring& text) {
  std::wstring upper = text;
  if (!upper.empty()) ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

NamedMutex::NamedMutex(const std::wstring& name)
    : handle_(::CreateMutexW(nullptr, FALSE, name.c_str())) {}

bool NamedMutex::take(DWORD timeout_ms) {
  if (handle_ == nullptr) return true;
  DWORD result = ::WaitForSingleObject(handle_.get(), timeout_ms);
  return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

WindowSlot::WindowSlot(const std::wstring& name)
    : mapping_(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    sizeof(StoredWindow), name.c_str())) {
  if (mapping_ != nullptr) {
    view_.reset(::MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(StoredWindow)));
  }
}

void WindowSlot::publish(HWND window) {
  if (view_ == nullptr) return;
  *static_cast<volatile StoredWindow*>(view_.get()) =
      static_cast<StoredWindow>(reinterpret_cast<std::uintptr_t>(window));
}

HWND published_window(const std::wstring& name) {
  UniqueKernelHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
  if (mapping == nullptr) return nullptr;
  UniqueView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(StoredWindow)));
  if (view == nullptr) return nullptr;
  StoredWindow stored = *static_cast<const volatile StoredWindow*>(view.get());
  HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(stored));
  return window != nullptr && ::IsWindow(window) ? window : nullptr;
}

bool bring_back(HWND window, UINT message) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  // The foreground belongs to the copy the user just started; it hands it on.
  if (process != 0) ::AllowSetForegroundWindow(process);
  DWORD_PTR answer = FALSE;
  return ::SendMessageTimeoutW(window, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0 &&
         answer == TRUE;
}

}  // namespace lorvane::platform::running_copy
