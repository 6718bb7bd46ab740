#pragma once
// Registered windows that cannot be moved, because their program runs as administrator or for a
// reason not known: the status line tells the user once for each class, until control stops or
// starts again.
#include <string>
#include <vector>

namespace lorvane::control {

// What the status line says about such a window, in the wizard and in the control cycle.
inline std::wstring unmovable_text(const std::wstring& class_name) {
  return L"「" + class_name +
         L"」のウィンドウは管理者として実行中のプログラムのため、動かせません。";
}

// The same where the reason is not known: the window's program could not be read, and the moves
// queued to it never took.
inline std::wstring cannot_move_text(const std::wstring& class_name) {
  return L"「" + class_name + L"」のウィンドウは動かせません。";
}

class UnmovableNotice {
 public:
  // True the first time a class is met since the last clear; it is remembered from then on.
  bool first_time(const std::wstring& class_name) {
    for (const std::wstring& told : told_) {
      if (told == class_name) return false;
    }
    told_.push_back(class_name);
    return true;
  }
  void clear() { told_.clear(); }

 private:
  std::vector<std::wstring> told_;
};

}  // namespace lorvane::control
