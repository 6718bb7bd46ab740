#include "platform/dpi.h"

#include "platform/late_bound.h"
#include "platform/unique_handles.h"

namespace lorvane::platform {
namespace {

DpiFunctions look_up_in_user32() {
  DpiFunctions f;
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  f.get_dpi_for_system = look_up<decltype(f.get_dpi_for_system)>(user32, "GetDpiForSystem");
  f.get_dpi_for_window = look_up<decltype(f.get_dpi_for_window)>(user32, "GetDpiForWindow");
  f.adjust_window_rect_ex_for_dpi =
      look_up<decltype(f.adjust_window_rect_ex_for_dpi)>(user32, "AdjustWindowRectExForDpi");
  f.system_parameters_info_for_dpi =
      look_up<decltype(f.system_parameters_info_for_dpi)>(user32, "SystemParametersInfoForDpi");
  return f;
}

// Looked up as the program starts, before any thread of its own: the program is built without the
// guard of function-local statics (-fno-threadsafe-statics), so a lookup at first use would be
// safe on one thread only, and the test programs call in from several.
const DpiFunctions system_functions = look_up_in_user32();

}  // namespace

const DpiFunctions& DpiFunctions::of_system() { return system_functions; }

int Dpi::system() const {
  if (functions_.get_dpi_for_system != nullptr)
    return static_cast<int>(functions_.get_dpi_for_system());
  WindowDc screen(nullptr);
  int dpi = screen.get() != nullptr ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int Dpi::of_window(HWND window) const {
  if (functions_.get_dpi_for_window != nullptr) {
    UINT dpi = functions_.get_dpi_for_window(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return moved_to_dpi_ > 0 ? moved_to_dpi_ : system();
}

SIZE Dpi::outer_size(SIZE client, DWORD style, DWORD ex_style, int dpi) const {
  RECT rect{0, 0, client.cx, client.cy};
  if (functions_.adjust_window_rect_ex_for_dpi != nullptr) {
    functions_.adjust_window_rect_ex_for_dpi(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi));
  } else {
    // The frame at the system's resolution, which is the window's here.
    ::AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// Headers for Vista and later add the padded border to the record; every system this program
// runs on knows that size, and XP's 500 bytes would lose the border on 7 and later.
static_assert(sizeof(NONCLIENTMETRICSW) == 504, "the record as Windows 7 knows it");

bool Dpi::non_client_metrics(NONCLIENTMETRICSW& metrics, int dpi) const {
  // The whole record, padded border included, which Windows 7 knows.
  metrics = NONCLIENTMETRICSW{};
  metrics.cbSize = sizeof metrics;
  if (functions_.system_parameters_info_for_dpi != nullptr) {
    return functions_.system_parameters_info_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics,
                                                     &metrics, 0, static_cast<UINT>(dpi)) != FALSE;
  }
  return ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
}

}  // namespace lorvane::platform
