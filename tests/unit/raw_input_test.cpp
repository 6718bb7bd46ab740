// What a buffered read of raw input reports, in the layout of this build and in the one a 32-bit
// program gets on 64-bit Windows, where each record's header is 8 bytes longer and each record
// starts on 8 bytes.
#include "platform/raw_input.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace lorvane::platform::raw_input {
namespace {

// Records as the system writes them: the header's type and size (the rest of it zero), then the
// device's data. A mouse record carries its button flags; anything else is a keyboard's.
std::size_t header_of(BufferLayout layout) {
  return layout == BufferLayout::wow64 ? 24 : sizeof(RAWINPUTHEADER);
}

std::vector<BYTE> records(BufferLayout layout, const std::vector<int>& mouse_buttons) {
  std::size_t header = header_of(layout);
  std::size_t alignment = layout == BufferLayout::wow64 ? 8 : sizeof(void*);
  std::vector<BYTE> bytes;
  for (int buttons : mouse_buttons) {
    RAWMOUSE mouse{};
    mouse.usButtonFlags = static_cast<USHORT>(buttons);
    RAWKEYBOARD keyboard{};
    DWORD type = buttons >= 0 ? RIM_TYPEMOUSE : RIM_TYPEKEYBOARD;
    const void* data = buttons >= 0 ? static_cast<const void*>(&mouse) : &keyboard;
    DWORD size = static_cast<DWORD>(header + (buttons >= 0 ? sizeof mouse : sizeof keyboard));
    std::size_t at = (bytes.size() + alignment - 1) / alignment * alignment;
    bytes.resize(at + size);
    std::memcpy(&bytes[at], &type, sizeof type);
    std::memcpy(&bytes[at + sizeof type], &size, sizeof size);
    std::memcpy(&bytes[at + header], data, size - header);
  }
  return bytes;
}
constexpr int key = -1;

TEST(RawInputBuffer, EveryWholeRecordInsideTheBufferCountsInEitherLayout) {
  for (BufferLayout layout : {BufferLayout::native, BufferLayout::wow64}) {
    SCOPED_TRACE(layout == BufferLayout::wow64 ? "wow64" : "native");
    std::vector<BYTE> moves = records(layout, {0, 0, 0});
    RawInputEvent e = summarise(moves.data(), moves.size(), 3, layout);
    EXPECT_TRUE(e.mouse && !e.keyboard && !e.button_down && !e.button_up);

    // Behind a key's shorter record the buttons are found too.
    std::vector<BYTE> mixed =
        records(layout, {0, key, RI_MOUSE_RIGHT_BUTTON_DOWN, RI_MOUSE_BUTTON_4_UP});
    e = summarise(mixed.data(), mixed.size(), 4, layout);
    EXPECT_TRUE(e.mouse && e.keyboard && e.button_down && e.button_up);
    EXPECT_TRUE(summarise(mixed.data(), mixed.size(), 9, layout).button_up) << "fewer than said";
    EXPECT_FALSE(summarise(mixed.data(), mixed.size(), 0, layout).any());
    EXPECT_FALSE(summarise(mixed.data(), mixed.size() - 1, 4, layout).button_up) << "cut short";
    EXPECT_FALSE(summarise(mixed.data(), 4, 4, layout).any());

    // A record shorter than its header, or running past the buffer, ends the walk.
    std::vector<BYTE> broken = records(layout, {key, RI_MOUSE_LEFT_BUTTON_DOWN});
    std::size_t mouse_size_at = broken.size() - sizeof(RAWMOUSE) - header_of(layout) + 4;
    DWORD size = 4096;
    std::memcpy(&broken[mouse_size_at], &size, sizeof size);
    e = summarise(broken.data(), broken.size(), 2, layout);
    EXPECT_TRUE(e.keyboard && !e.mouse);
    size = 8;
    std::memcpy(&broken[4], &size, sizeof size);
    EXPECT_FALSE(summarise(broken.data(), broken.size(), 2, layout).any());
  }
}

TEST(RawInputBuffer, TheLayoutDecidesWhereTheButtonsAre) {
  std::vector<BYTE> wow64 = records(BufferLayout::wow64, {RI_MOUSE_LEFT_BUTTON_DOWN});
  EXPECT_TRUE(summarise(wow64.data(), wow64.size(), 1, BufferLayout::wow64).button_down);
  // Read as this build's records, the flags would be taken from the longer header's zeros.
  EXPECT_FALSE(summarise(wow64.data(), wow64.size(), 1, BufferLayout::native).button_down);
}

}  // namespace
}  // namespace lorvane::platform::raw_input
