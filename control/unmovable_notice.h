#pragma once
// Registered windows that the control cycle does not move: a window of a program that runs as
// administrator, or one that cannot be moved for a reason not known, cannot be moved, and the
// shell's own windows (taskbar, desktop) never are. The status line tells the user once for each
// class and reason, until control stops or starts again.
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

// What the status line says of an entry whose window is the shell's: the list and the file keep
// the entry, and control passes over it.
inline std::wstring shell_entry_text(const std::wstring& class_name) {
  return L"「" + class_name +
         L"」はタスクバーかデスクトップのウィンドウのため、動かさずに飛ばします。";
}

class UnmovableNotice {
 public:
  enum class Reason { administrator, shell };

  // True the first time a class is met for the reason since the last clear; it is remembered
  // from then on.
  bool first_time(const std::wstring& class_name, Reason reason = Reason::administrator) {
    for (const Told& told : told_) {
      if (told.reason == reason && told.class_name == class_name) return false;
    }
    told_.push_back({class_name, reason});
    return true;
  }
  void clear() { told_.clear(); }

 private:
  struct Told {
    std::wstring class_name;
    Reason reason;
  };
  std::vector<Told> told_;
};

}  // namespace lorvane::control
