// The user's hand: the pointer moved, clicked, parked and nudged through SendInput.
#include "harness/lorvane_harness.h"

#include <cmath>
#include <cstdlib>

namespace lorvane::harness {
namespace {

INPUT mouse_input(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  return input;
}

// Absolute coordinates run from 0 to 65535 over the whole virtual screen.
LONG normalised(int value, int origin, int extent) {
  return static_cast<LONG>(std::lround((value - origin) * 65535.0 / (extent - 1)));
}

INPUT absolute_move(POINT at) {
  return mouse_input(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK,
                     normalised(at.x, ::GetSystemMetrics(SM_XVIRTUALSCREEN),
                                ::GetSystemMetrics(SM_CXVIRTUALSCREEN)),
                     normalised(at.y, ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                                ::GetSystemMetrics(SM_CYVIRTUALSCREEN)));
}

}  // namespace

void point_at(POINT at) {
  auto there = [&] {
    POINT now{};
    return ::GetCursorPos(&now) && std::abs(now.x - at.x) <= 1 && std::abs(now.y - at.y) <= 1;
  };
  if (there()) return;
  INPUT move = absolute_move(at);
  ::SendInput(1, &move, sizeof move);
  pump_until(there, std::chrono::seconds(1), std::chrono::milliseconds(1));
}

void click_at(POINT at) {
  point_at(at);
  // The move once more with the buttons: a button alone goes where the display last put the
  // pointer, which may not be there yet.
  INPUT click[] = {absolute_move(at), mouse_input(MOUSEEVENTF_LEFTDOWN),
                   mouse_input(MOUSEEVENTF_LEFTUP)};
  ::SendInput(3, click, sizeof click[0]);
}

void press_at(POINT at) {
  point_at(at);
  INPUT press[] = {absolute_move(at), mouse_input(MOUSEEVENTF_LEFTDOWN)};
  ::SendInput(2, press, sizeof press[0]);
}

void release_button() {
  INPUT release = mouse_input(MOUSEEVENTF_LEFTUP);
  ::SendInput(1, &release, sizeof release);
}

namespace {

POINT middle_of(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

void click_window(HWND window) { click_at(middle_of(window)); }

bool click_to_front(HWND window, POINT at) {
  for (int click = 0; click < 3; ++click) {
    click_at(at);
    if (pump_until([&] { return ::GetForegroundWindow() == window; }, std::chrono::seconds(3))) {
      return true;
    }
  }
  return false;
}

bool click_to_front(HWND window) { return click_to_front(window, middle_of(window)); }

void park_pointer() {
  RECT strip{};
  HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  if (taskbar == nullptr || !::GetWindowRect(taskbar, &strip)) {
    int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    int bottom = ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    strip = {left, bottom - 24, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), bottom};
  }
  point_at({(strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2});
}

void nudge_pointer() {
  INPUT moves[] = {mouse_input(MOUSEEVENTF_MOVE, 1), mouse_input(MOUSEEVENTF_MOVE, -1)};
  ::SendInput(2, moves, sizeof moves[0]);
}

void press_key(WORD key) {
  INPUT keys[2] = {};
  for (INPUT& k : keys) {
    k.type = INPUT_KEYBOARD;
    k.ki.wVk = key;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof keys[0]);
}

}  // namespace lorvane::harness
