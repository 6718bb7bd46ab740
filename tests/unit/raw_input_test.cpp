// What a buffered read of raw input reports, in the layout of this build and in the one a 32-bit
// program gets on 64-bit Windows, where each record's header is 8 bytes longer and each record
// starts on 8 bytes.
#include "platform/raw_input.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace lorvane::platform::raw_input {
namespace {

// Records as the system writes them: the header's type and size, the rest of the header zero,
// then the device's data.
class Records {
 public:
  explicit Records(BufferLayout layout)
      : header_(layout == BufferLayout::wow64 ? 24 : sizeof(RAWINPUTHEADER)),
        alignment_(layout == BufferLayout::wow64 ? 8 : sizeof(void*)) {}

  Records& mouse(USHORT button_flags) {
    RAWMOUSE data{};
    data.usButtonFlags = button_flags;
    return add(RIM_TYPEMOUSE, &data, sizeof data);
  }
  Records& keyboard() {
    RAWKEYBOARD data{};
    data.VKey = 'A';
    return add(RIM_TYPEKEYBOARD, &data, sizeof data);
  }
  Records& with_size(DWORD size) {
    std::memcpy(bytes_.data() + last_ + sizeof(DWORD), &size, sizeof size);
    return *this;
  }
  const BYTE* data() const { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }
  UINT count() const { return count_; }

 private:
  Records& add(DWORD type, const void* data, std::size_t data_size) {
    bytes_.resize((bytes_.size() + alignment_ - 1) / alignment_ * alignment_);
    last_ = bytes_.size();
    DWORD size = static_cast<DWORD>(header_ + data_size);
    bytes_.resize(last_ + size);
    std::memcpy(bytes_.data() + last_, &type, sizeof type);
    std::memcpy(bytes_.data() + last_ + sizeof type, &size, sizeof size);
    std::memcpy(bytes_.data() + last_ + header_, data, data_size);
    ++count_;
    return *this;
  }

  std::size_t header_;
  std::size_t alignment_;
  std::vector<BYTE> bytes_;
  std::size_t last_ = 0;
  UINT count_ = 0;
};

RawInputEvent summary(const Records& r, BufferLayout layout) {
  return summarise(r.data(), r.size(), r.count(), layout);
}

TEST(RawInputBuffer, EveryRecordCountsInEitherLayout) {
  for (BufferLayout layout : {BufferLayout::native, BufferLayout::wow64}) {
    SCOPED_TRACE(layout == BufferLayout::wow64 ? "wow64" : "native");
    Records moves(layout);
    moves.mouse(0).mouse(0).mouse(0);
    RawInputEvent e = summary(moves, layout);
    EXPECT_TRUE(e.mouse);
    EXPECT_FALSE(e.keyboard || e.button_down || e.button_up);

    // A button after a key: the records behind the keyboard's shorter one are found too.
    Records mixed(layout);
    mixed.mouse(0).keyboard().mouse(RI_MOUSE_RIGHT_BUTTON_DOWN).mouse(RI_MOUSE_BUTTON_4_UP);
    e = summary(mixed, layout);
    EXPECT_TRUE(e.mouse && e.keyboard && e.button_down && e.button_up);

    EXPECT_FALSE(summarise(mixed.data(), mixed.size(), 0, layout).any());
  }
}

TEST(RawInputBuffer, TheLayoutDecidesWhereTheButtonsAre) {
  Records wow64(BufferLayout::wow64);
  wow64.mouse(RI_MOUSE_LEFT_BUTTON_DOWN);
  EXPECT_TRUE(summary(wow64, BufferLayout::wow64).button_down);
  // Read as this build's records, the flags would be taken from the longer header's zeros.
  EXPECT_FALSE(summary(wow64, BufferLayout::native).button_down);
}

TEST(RawInputBuffer, OnlyWholeRecordsInsideTheBufferCount) {
  for (BufferLayout layout : {BufferLayout::native, BufferLayout::wow64}) {
    SCOPED_TRACE(layout == BufferLayout::wow64 ? "wow64" : "native");
    Records r(layout);
    r.mouse(0).mouse(RI_MOUSE_LEFT_BUTTON_DOWN);
    // More records announced than written.
    EXPECT_TRUE(summarise(r.data(), r.size(), 5, layout).button_down);
    // The buffer ends inside the second record.
    EXPECT_FALSE(summarise(r.data(), r.size() - 1, 2, layout).button_down);
    EXPECT_FALSE(summarise(r.data(), 4, 2, layout).any());

    // A record whose size is shorter than its header, or runs past the buffer, ends the walk.
    Records short_one(layout);
    short_one.mouse(0).with_size(8).mouse(RI_MOUSE_LEFT_BUTTON_DOWN);
    EXPECT_FALSE(summary(short_one, layout).any());
    Records long_one(layout);
    long_one.keyboard().mouse(RI_MOUSE_LEFT_BUTTON_DOWN).with_size(4096);
    RawInputEvent e = summary(long_one, layout);
    EXPECT_TRUE(e.keyboard);
    EXPECT_FALSE(e.mouse || e.button_down);
  }
}

}  // namespace
}  // namespace lorvane::platform::raw_input
