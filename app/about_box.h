#pragma once
// The About box: product name, version and copyright over a background picture.
// It is created each time it opens and destroyed each time it closes.
#include <windows.h>

#include <functional>

#include "app/window_base.h"
#include "app/window_names.h"
#include "platform/dpi.h"
#include "platform/unique_handles.h"

namespace lorvane::app {

class AboutBox : public WindowBase<AboutBox> {
 public:
  static constexpr const wchar_t* class_name = about_box_class;
  static constexpr const wchar_t* caption = window_caption;

  // on_closed shows the main window again; it runs in the close handling only, never when the
  // program ends and destroys the box.
  explicit AboutBox(std::function<void()> on_closed, platform::Dpi dpi = platform::Dpi());
  ~AboutBox();

  bool create(HINSTANCE instance);
  void show();

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void on_create(const CREATESTRUCTW& create);
  void on_dpi_changed(WPARAM wparam, LPARAM lparam);
  void create_fonts();
  void paint();
  void close_handling();

  std::function<void()> on_closed_;
  platform::Dpi dpi_;
  platform::UniqueBitmap background_;
  platform::UniqueFont title_font_;
  platform::UniqueFont notice_font_;
  platform::UniqueFont button_font_;
};

}  // namespace lorvane::app
