#include "platform/text.h"

#include <windows.h>

namespace lorvane::platform::text {
namespace {

// One private-use character per undecodable byte: U+F700 + byte (U+F780 to U+F7FF). The code page
// maps no character into this block, so the escape cannot collide with real text.
constexpr wchar_t raw_byte_base = 0xF700;

bool decodes(const char* p, int n, wchar_t* out, int& produced) {
  produced = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, p, n, out, 2);
  return produced > 0;
}

}  // namespace

std::wstring from_ansi(std::string_view bytes) {
  std::wstring out;
  if (bytes.empty()) return out;
  // The common case: the whole text is valid in the code page.
  int n = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(),
                                static_cast<int>(bytes.size()), nullptr, 0);
  if (n > 0) {
    out.resize(static_cast<std::size_t>(n));
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(),
                          static_cast<int>(bytes.size()), out.data(), n);
    return out;
  }
  // Damaged text: decode character by character and keep the bytes that do not decode.
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    auto byte = static_cast<unsigned char>(bytes[i]);
    wchar_t chars[2];
    int produced = 0;
    if (::IsDBCSLeadByte(byte) && i + 1 < bytes.size() && decodes(&bytes[i], 2, chars, produced)) {
      out.append(chars, static_cast<std::size_t>(produced));
      i += 2;
    } else if (!::IsDBCSLeadByte(byte) && decodes(&bytes[i], 1, chars, produced)) {
      out.append(chars, static_cast<std::size_t>(produced));
      i += 1;
    } else {
      out.push_back(static_cast<wchar_t>(raw_byte_base + byte));
      i += 1;
    }
  }
  return out;
}

std::string to_ansi(std::wstring_view text) {
  std::string out;
  std::size_t start = 0;
  auto flush = [&](std::size_t end) {
    if (end <= start) return;
    int len = static_cast<int>(end - start);
    int n =
        ::WideCharToMultiByte(CP_ACP, 0, text.data() + start, len, nullptr, 0, nullptr, nullptr);
    std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    ::WideCharToMultiByte(CP_ACP, 0, text.data() + start, len, out.data() + at, n, nullptr,
                          nullptr);
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c >= raw_byte_base + 0x80 && c <= raw_byte_base + 0xFF) {
      flush(i);
      out.push_back(static_cast<char>(c - raw_byte_base));
      start = i + 1;
    }
  }
  flush(text.size());
  return out;
}

bool ansi_can_hold(std::wstring_view text) {
  // A system whose ANSI code page is UTF-8 holds everything, and refuses the question.
  if (text.empty() || ::GetACP() == CP_UTF8) return true;
  BOOL used_default = FALSE;
  int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                static_cast<int>(text.size()), nullptr, 0, nullptr, &used_default);
  return n > 0 && !used_default;
}

std::wstring from_ansi_buffer(const char* buffer, std::size_t size) {
  std::size_t len = 0;
  while (len < size && buffer[len] != '\0') ++len;
  return from_ansi(std::string_view(buffer, len));
}

}  // namespace lorvane::platform::text
