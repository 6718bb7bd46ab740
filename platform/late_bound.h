#pragma once
// Functions of later Windows versions, found by name at run time: the exe imports only what
// Windows 7 SP1 has, and where a function is missing its pointer is null.
#include <windows.h>

namespace lorvane::platform {

// The module's function of that name, or null. Through the generic function pointer type, which
// converts to any other without a warning.
template <class Function>
Function look_up(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The same in a module that the process has loaded already (user32, shell32).
template <class Function>
Function look_up(const wchar_t* loaded_module, const char* name) {
  return look_up<Function>(::GetModuleHandleW(loaded_module), name);
}

}  // namespace lorvane::platform
