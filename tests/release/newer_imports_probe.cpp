// An exe that imports what Lorvane.exe must not: functions that came after Windows 7 SP1, and a
// DLL that Windows 7 does not have. The import check must reject it.
#include <shellscalingapi.h>
#include <windows.h>

int main() {
  FILETIME now;
  ::GetSystemTimePreciseAsFileTime(&now);
  UINT dpi_x = 0, dpi_y = 0;
  ::GetDpiForMonitor(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), MDT_EFFECTIVE_DPI,
                     &dpi_x, &dpi_y);
  return static_cast<int>(::GetDpiForSystem() + dpi_x);
}
