#pragma once
// The display's resolution for the windows' geometry and fonts. The functions that take a
// resolution came with Windows 10 1607; they are looked up at run time, so that the exe still
// loads on Windows 7 SP1, 8 and 8.1. Where they are missing, every window has the system's
// resolution, read from the screen, until Windows 8.1 or 10 before 1607 tells a window that it
// has moved to a monitor of another resolution.
#include <windows.h>

namespace lorvane::platform {

// The newer functions as a system has them: null for each one it lacks.
struct DpiFunctions {
  UINT(WINAPI* get_dpi_for_system)() = nullptr;
  UINT(WINAPI* get_dpi_for_window)(HWND) = nullptr;
  BOOL(WINAPI* adjust_window_rect_ex_for_dpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  BOOL(WINAPI* system_parameters_info_for_dpi)(UINT, UINT, void*, UINT, UINT) = nullptr;

  // This system's, looked up in user32 once per run.
  static const DpiFunctions& of_system();
};

class Dpi {
 public:
  // This system's way.
  Dpi() : Dpi(DpiFunctions::of_system()) {}
  // A test passes a table with nulls to take the older systems' way on a newer one.
  explicit Dpi(const DpiFunctions& functions) : functions_(functions) {}

  int system() const;
  // The window's resolution: the system's answer where it has one, else the one the window was
  // last told of, else the system's.
  int of_window(HWND window) const;
  // Windows 8.1 and 10 before 1607 tell a per-monitor window of its new resolution (the DPI of
  // WM_DPICHANGED) but cannot be asked for it later: the window keeps what it was told. Each
  // window holds a Dpi of its own.
  void moved_to(int dpi) { moved_to_dpi_ = dpi; }
  // For a new window, which starts at the system's resolution whatever this one was told.
  Dpi for_new_window() const { return Dpi(functions_); }
  // The outer size of a window of this style whose client area has this size, at the resolution.
  SIZE outer_size(SIZE client, DWORD style, DWORD ex_style, int dpi) const;
  // The system's non-client metrics (fonts of captions, menus and messages) at the resolution.
  bool non_client_metrics(NONCLIENTMETRICSW& metrics, int dpi) const;

 private:
  DpiFunctions functions_;
  int moved_to_dpi_ = 0;
};

}  // namespace lorvane::platform
