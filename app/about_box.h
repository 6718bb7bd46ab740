#pragma once
// The About box バージョン情報: product name, version and copyright over a background picture.
// It is created each time it opens and destroyed each time it closes.
#include <windows.h>

#include <functional>

#include "app/window_base.h"
#include "platform/dpi.h"
#include "platform/unique_handles.h"

namespace lorvane::app {

class バージョン情報 : public WindowBase<バージョン情報> {
 public:
  static constexpr const wchar_t* class_name = L"LorvaneAbout";
  static constexpr const wchar_t* caption = L"Lorvane";

  // on_closed shows the main window again; it runs in the close handling only, never when the
  // program ends and destroys the box.
  explicit バージョン情報(std::function<void()> on_closed, Dpi dpi = Dpi());

  bool create(HINSTANCE instance);
  void show();

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void create_fonts();
  void paint();
  void close_handling();

  std::function<void()> on_closed_;
  Dpi dpi_;
  UniqueBitmap background_;
  UniqueFont title_font_;
  UniqueFont notice_font_;
  UniqueFont button_font_;
};

}  // namespace lorvane::app
