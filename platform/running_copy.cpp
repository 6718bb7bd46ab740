#include "platform/running_copy.h"

#include <cstdint>

#include "platform/late_bound.h"

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

HANDLE create_mutex(const std::wstring& name, DWORD& error) {
  HANDLE handle = ::CreateMutexW(nullptr, FALSE, name.c_str());
  error = handle != nullptr ? ERROR_SUCCESS : ::GetLastError();
  return handle;
}

NamedMutex::NamedMutex(const std::wstring& name, const CreateMutexCall& create)
    : handle_(create(name, error_)) {}

MutexTake NamedMutex::take(DWORD timeout_ms) {
  if (handle_ == nullptr) {
    return error_ == ERROR_ACCESS_DENIED ? MutexTake::denied : MutexTake::taken;
  }
  DWORD result = ::WaitForSingleObject(handle_.get(), timeout_ms);
  return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED ? MutexTake::taken : MutexTake::held;
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

bool bring_back(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  // The foreground belongs to the copy the user just started; it hands it on.
  if (process != 0) ::AllowSetForegroundWindow(process);
  DWORD_PTR answer = FALSE;
  return ::SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &answer) !=
             0 &&
         answer == TRUE;
}

bool bring_back_any(const wchar_t* window_class, UINT message, WPARAM wparam, LPARAM lparam) {
  for (HWND window = ::FindWindowExW(nullptr, nullptr, window_class, nullptr); window != nullptr;
       window = ::FindWindowExW(nullptr, window, window_class, nullptr)) {
    if (bring_back(window, message, wparam, lparam)) return true;
  }
  return false;
}

void accept_from_lower_integrity(HWND window, UINT message) {
  using FilterCall = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  // MSGFLT_ALLOW, the same in every header; the function takes no record of the outcome (null),
  // whose size later headers could change.
  constexpr DWORD allow = 1;
  auto filter = look_up<FilterCall>(L"user32.dll", "ChangeWindowMessageFilterEx");
  if (filter != nullptr && message != 0) filter(window, message, allow, nullptr);
}

}  // namespace lorvane::platform::running_copy
