#include "shell/linux/host_window.h"

#include <cctype>
#include <cstdint>

#include "shell/launch.h"

bool ParseXWindowId(const char* text, NativeWindow* out) {
  *out = 0;
  if (text == nullptr) return false;
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  unsigned base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    base = 16;
    p += 2;
  }
  std::uint64_t value = 0;
  int digits = 0;
  for (;; ++p, ++digits) {
    const unsigned char c = static_cast<unsigned char>(*p);
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && std::isxdigit(c)) {
      digit = static_cast<unsigned>(std::tolower(c) - 'a' + 10);
    } else {
      break;
    }
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return false;  // X resource ids have 29 bits, never more than 32
  }
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  if (digits == 0 || *p != '\0' || value == 0) return false;
  *out = static_cast<NativeWindow>(value);
  return true;
}

std::string ApplyXScreensaverWindow(const std::string& commandLine, const char* environmentValue) {
  const LaunchOptions options = ParseCommandLine(commandLine.c_str());
  NativeWindow window = 0;
  if (options.mode != Preview || options.targetWindow != 0 || !ParseXWindowId(environmentValue, &window)) {
    return commandLine;
  }
  return "/p " + std::to_string(window);
}
