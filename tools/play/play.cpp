// Plays a WAVE file through the screensaver's own sound player, for a manual check:
//   lumivane-play [--loop SECONDS] [--pause-resume] FILE.wav
// FILE.wav must be a regular file of at most 64 MiB. The time it plays for comes from the
// sample rate and the block size, never from the header's byte rate, which a file may state
// wrongly.
// Exit codes: 0 played, 1 the file or the device failed, 2 usage.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "sound/direct_sound.h"
#include "whole_file.h"

using namespace sound;

namespace {

std::uint32_t ReadU16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t ReadU32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;
constexpr double kMaxLoopSeconds = 86400;

int Usage() {
  std::fprintf(stderr,
               "usage: lumivane-play [--loop SECONDS] [--pause-resume] FILE.wav\n"
               "FILE.wav must be a regular file of at most %s; --loop takes more than 0 and at most %.0f seconds.\n"
               "Exit codes: 0 played, 1 the file or the device failed, 2 usage.\n",
               DescribeSize(kMaxFileBytes).c_str(), kMaxLoopSeconds);
  return 2;
}

// A number of seconds written in full, more than 0 and at most kMaxLoopSeconds.
bool ParseSeconds(const char* text, double* seconds) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(value > 0) || value > kMaxLoopSeconds) return false;
  *seconds = value;
  return true;
}

void SleepSeconds(double seconds) {
  if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

int Run(int argc, char** argv) {
  double loopSeconds = 0;
  bool pauseResume = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--loop") == 0 && i + 1 < argc) {
      if (!ParseSeconds(argv[++i], &loopSeconds)) return Usage();
    } else if (std::strcmp(argv[i], "--pause-resume") == 0) {
      pauseResume = true;
    } else if (argv[i][0] == '-' || path != nullptr) {
      return Usage();
    } else {
      path = argv[i];
    }
  }
  if (path == nullptr) return Usage();

  std::string file;
  std::string error;
  if (!ReadWholeFile(path, kMaxFileBytes, &file, &error)) {
    std::fprintf(stderr, "lumivane-play: cannot read %s: %s\n", path, error.c_str());
    return 1;
  }
  const std::uint8_t* const image = reinterpret_cast<const std::uint8_t*>(file.data());

  const std::uint8_t* format = nullptr;
  const std::uint8_t* data = nullptr;
  std::uint32_t formatSize = 0;
  std::uint32_t dataSize = 0;
  if (!CDirectSound::ParseWave(image, file.size(), &format, &formatSize, &data, &dataSize) || dataSize == 0) {
    std::fprintf(stderr, "lumivane-play: %s is not a RIFF WAVE file with a \"fmt \" and a non-empty \"data\" chunk inside its %zu bytes\n",
                 path, file.size());
    return 1;
  }
  const std::uint32_t tag = ReadU16(format);
  const std::uint32_t channels = ReadU16(format + 2);
  const std::uint32_t rate = ReadU32(format + 4);
  const std::uint32_t blockAlign = ReadU16(format + 12);
  const std::uint32_t bits = formatSize >= 16 ? ReadU16(format + 14) : 0;
  std::printf("%s: format tag 0x%04X, %u channel(s), %u Hz, %u-byte blocks, %u bits, %u data bytes", path, tag,
              channels, rate, blockAlign, bits, dataSize);
  if (rate == 0 || blockAlign == 0) {
    std::printf("\n");
    std::fprintf(stderr, "lumivane-play: %s states no sample rate or no block size\n", path);
    return 1;
  }
  const double seconds = static_cast<double>(dataSize) / blockAlign / rate;
  std::printf(" (%.3f s)\n", seconds);

  // Watch the device attempts through the player's own seam, to report what the device said.
  int attempts = 0;
  SoundResult lastResult = DS_OK;
  SetDeviceFactory([&](std::unique_ptr<SoundDevice>* device) {
    ++attempts;
    lastResult = CreatePlatformDevice(device);
    return lastResult;
  });

  CDirectSound player;
  NativeWindow owner = 0;
  const auto started = std::chrono::steady_clock::now();
  const bool loaded = player.LoadFromMemory(image, file.size(), owner);
  const double loadSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (!loaded) {
    if (CDirectSound::Device() == nullptr) {
      std::fprintf(stderr, "lumivane-play: no sound device available (result 0x%08X after %d attempt(s), %.2f s)\n",
                   static_cast<unsigned>(lastResult), attempts, loadSeconds);
    } else {
      std::fprintf(stderr, "lumivane-play: the sound device cannot play this format\n");
    }
    return 1;
  }
  std::printf("device ready after %d attempt(s), %.3f s\n", attempts, loadSeconds);

  SoundResult result = player.Play(0, loopSeconds > 0);
  if (result != DS_OK) {
    std::fprintf(stderr, "lumivane-play: play failed: 0x%08X\n", static_cast<unsigned>(result));
    return 1;
  }
  const double playFor = loopSeconds > 0 ? loopSeconds : seconds;
  if (pauseResume) {
    SleepSeconds(playFor / 2);
    player.Pause();
    std::printf("paused\n");
    SleepSeconds(0.5);
    result = player.Resume();
    std::printf("resumed: 0x%08X\n", static_cast<unsigned>(result));
    SleepSeconds(playFor / 2);
  } else {
    SleepSeconds(playFor);
  }
  SleepSeconds(0.1);  // let the device play out its last period
  player.Stop();
  std::printf("played\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumivane-play: %s\n", e.what());
    return 1;
  }
}
