// Takes the README's pictures: starts the real Lorvane.exe in a folder of its own, brings it into
// each scene with the messages a user's actions send, and saves what the screen shows as BMP
// files (scripts/screenshots.sh turns them into PNG).
//
//   screenshots.exe <Lorvane.exe> <output folder> [main-only]
//
// With main-only, the main window alone is taken (at a second resolution, say).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/layout.h"
#include "app/window_names.h"
#include "harness/lorvane_harness.h"

namespace {

using namespace std::chrono_literals;
using namespace lorvane::harness;

// Long enough for a loaded machine: the pictures are taken once, and a scene that never comes is
// reported.
constexpr auto scene_timeout = 15s;

// Saves the screen area of the window, frame included, as a 24-bit BMP.
bool capture(HWND window, const std::wstring& path) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ::Sleep(300);  // let the other process finish painting before the screen is read
  RECT r;
  ::GetWindowRect(window, &r);
  int w = r.right - r.left;
  int h = r.bottom - r.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ::SelectObject(memory, old);
  DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  DWORD image = stride * static_cast<DWORD>(h);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + image;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  bytes.append(static_cast<const char*>(bits), image);
  bool ok = write_bytes(path, bytes);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  std::fwprintf(stdout, L"screenshot: %ls\n", path.c_str());
  return ok;
}

// A stand-in for the video player: a plain window of a class of its own, on its own thread.
LRESULT CALLBACK target_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT r;
    ::GetClientRect(window, &r);
    HBRUSH brush = ::CreateSolidBrush(RGB(40, 70, 120));
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::DrawTextW(dc, L"動画プレーヤー", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::EndPaint(window, &ps);
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: screenshots <Lorvane.exe> <output folder> [main-only]\n");
    return 2;
  }
  std::wstring exe = argv[1], out = argv[2];
  const bool main_only = argc > 3 && std::wstring(argv[3]) == L"main-only";
  LorvaneCopy copy(exe, L"screenshots");
  if (!copy.copied()) return 3;
  // Two entries with a program, one of an older file without, and one whose class is longer
  // than the list is wide.
  write_ini(copy.ini_path(),
            L"[Lorvane]\n前面表示設定=0\n登録数=4\n"
            L"クラス名0=MediaPlayerClassicW\nプログラム名0=mpc-hc.exe\n"
            L"クラス名1=Chrome_WidgetWin_1\nプログラム名1=chrome.exe\n"
            L"クラス名2=動画ビューア\n"
            L"クラス名3=HwndWrapper[VideoWall;;5f0c2e9a-17b3]\nプログラム名3=VideoWall.exe\n"
            L"クラス名4=\n");
  const Process& program = copy.process();
  int failures = 0;
  auto fail = [&](const char* what) {
    std::fprintf(stderr, "screenshots: %s\n", what);
    ++failures;
  };

  // With stored targets control starts at once and the window goes to the tray: a release of
  // the left button over the icon brings it back.
  if (!copy.start(15s)) return program.handle() == nullptr ? 4 : 5;
  HWND main = copy.main();
  pump_until([&] { return ::IsIconic(main) != FALSE; }, scene_timeout);
  ::SendMessageW(main, WM_MOUSEMOVE, 0, WM_LBUTTONUP);
  if (!pump_until([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, scene_timeout))
    fail("no restore");
  ::SendMessageW(::GetDlgItem(main, lorvane::app::id_target_list), LB_SETCURSEL, 1, 0);
  ::SetForegroundWindow(main);
  capture(main, out + L"\\main.bmp");
  if (main_only) return copy.close(10s) && failures == 0 ? 0 : 1;

  // The About box.
  ::SendMessageW(::GetDlgItem(main, lorvane::app::id_about_button), BM_CLICK, 0, 0);
  HWND about = nullptr;
  if (pump_until(
          [&] {
            return (about = find_window_of(program.id(), lorvane::app::about_box_class, nullptr,
                                           true)) != nullptr;
          },
          scene_timeout)) {
    capture(about, out + L"\\about.bmp");
    ::SendMessageW(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
  } else {
    fail("no About box");
  }
  pump_until([&] { return ::IsWindowVisible(main) != FALSE; }, scene_timeout);

  // The wizard's first question: Select, then a window of another program in front.
  std::thread target_thread([] {
    HWND target = show_window_of_class(L"DemoVideoPlayer", target_proc, {60, 60, 480, 320}, nullptr,
                                       Shape::normal, Activation::activated);
    ::SetWindowTextW(target, L"動画プレーヤー");
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  });
  ::SendMessageW(::GetDlgItem(main, lorvane::app::id_select_button), BM_CLICK, 0, 0);
  HWND target = nullptr;
  pump_until([&] { return (target = ::FindWindowW(L"DemoVideoPlayer", nullptr)) != nullptr; },
             scene_timeout);
  bring_to_front(target);
  HWND box = nullptr;
  if (pump_until(
          [&] { return (box = find_window_of(program.id(), L"#32770", nullptr, true)) != nullptr; },
          20s)) {
    capture(box, out + L"\\wizard.bmp");
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    HWND retry = nullptr;
    if (pump_until(
            [&] {
              retry = find_window_of(program.id(), L"#32770", nullptr, true);
              return retry != nullptr && retry != box;
            },
            scene_timeout)) {
      ::PostMessageW(retry, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  } else {
    fail("no question box");
  }

  ::PostMessageW(target, WM_CLOSE, 0, 0);
  ::PostThreadMessageW(::GetWindowThreadProcessId(target, nullptr), WM_QUIT, 0, 0);
  target_thread.join();
  pump_until([&] { return find_window_of(program.id(), L"#32770", nullptr, true) == nullptr; },
             scene_timeout);
  // One that does not end is killed as the copy goes.
  if (!copy.close(10s)) fail("Lorvane did not end");
  return failures == 0 ? 0 : 1;
}
