#include "platform/ウィンドウハンドル取得.h"

#include "platform/text.h"

namespace ウィンドウハンドル取得 {

HWND find_window(const std::wstring& class_name) {
  return ::FindWindowA(lorvane::text::to_ansi(class_name).c_str(), nullptr);
}

bool exists(HWND window) { return ::IsWindow(window) != FALSE; }

}  // namespace ウィンドウハンドル取得
