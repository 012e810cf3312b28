// Any bytes, read as NUL-separated arguments (the first one also stands for the value of
// XSCREENSAVER_WINDOW): the parsers stay inside their texts, and what they hand on is sound:
// a window id is one that X can name, and a hosted run's command line names exactly its host.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "shell/launch.h"
#include "shell/linux/hack_options.h"

namespace {

// In a buffer of exactly its size, so that AddressSanitizer sees any read past the NUL.
LaunchOptions parseExact(const std::string& text, std::size_t* handleAt) {
  std::unique_ptr<char[]> exact(new char[text.size() + 1]);
  std::memcpy(exact.get(), text.c_str(), text.size() + 1);
  return ParseCommandLine(exact.get(), handleAt);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      arguments.emplace_back();
    } else {
      arguments.back() += static_cast<char>(data[i]);
    }
  }

  std::string joined;
  for (const std::string& a : arguments) joined += (joined.empty() ? "" : " ") + a;
  std::size_t handleAt = 0;
  const LaunchOptions options = parseExact(joined, &handleAt);
  if (options.mode < Preview || options.mode > Default) __builtin_trap();
  if (options.mode == Default && options.targetWindow != 0) __builtin_trap();
  if (handleAt != kNoHandleText && handleAt > joined.size()) __builtin_trap();

  NativeWindow id = 0;
  if (ParseXWindowId(arguments[0].c_str(), &id)) {
    if (id == 0 || id > 0xFFFFFFFFu) __builtin_trap();
  } else if (id != 0) {
    __builtin_trap();
  }

  const HackCommand command = ParseHackCommand(arguments, arguments[0].c_str());
  if (command.action == HackCommand::Refuse && command.problem.empty()) __builtin_trap();
  if (command.action == HackCommand::Run && command.hosted) {
    if (command.host == 0 || command.host > 0xFFFFFFFFu) __builtin_trap();
    const LaunchOptions hosted = parseExact(command.commandLine, nullptr);
    if (hosted.mode != Preview || hosted.targetWindow != command.host) __builtin_trap();
  }
  return 0;
}
