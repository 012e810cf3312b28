// Plays a WAVE file through the screensaver's own sound player, for a manual check:
//   lumivane-play [--loop SECONDS] [--pause-resume] FILE.wav
// Exit codes: 0 played, 1 the file or the device failed, 2 usage.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "sound/direct_sound.h"

using namespace sound;

namespace {

std::uint32_t ReadU16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t ReadU32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

int Usage() {
  std::fprintf(stderr, "usage: lumivane-play [--loop SECONDS] [--pause-resume] FILE.wav\n");
  return 2;
}

void SleepSeconds(double seconds) {
  if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace

int main(int argc, char** argv) {
  double loopSeconds = 0;
  bool pauseResume = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--loop") == 0 && i + 1 < argc) {
      loopSeconds = std::atof(argv[++i]);
      if (loopSeconds <= 0) return Usage();
    } else if (std::strcmp(argv[i], "--pause-resume") == 0) {
      pauseResume = true;
    } else if (argv[i][0] == '-' || path != nullptr) {
      return Usage();
    } else {
      path = argv[i];
    }
  }
  if (path == nullptr) return Usage();

  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "lumivane-play: cannot open %s\n", path);
    return 1;
  }
  const std::vector<std::uint8_t> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

  const std::uint8_t* format = nullptr;
  const std::uint8_t* data = nullptr;
  std::uint32_t formatSize = 0;
  std::uint32_t dataSize = 0;
  if (!CDirectSound::ParseWave(image.data(), image.size(), &format, &formatSize, &data, &dataSize) || dataSize == 0) {
    std::fprintf(stderr, "lumivane-play: %s is not a RIFF WAVE file with a \"fmt \" and a non-empty \"data\" chunk inside its %zu bytes\n",
                 path, image.size());
    return 1;
  }
  const std::uint32_t tag = ReadU16(format);
  const std::uint32_t channels = ReadU16(format + 2);
  const std::uint32_t rate = ReadU32(format + 4);
  const std::uint32_t bytesPerSecond = ReadU32(format + 8);
  const std::uint32_t bits = formatSize >= 16 ? ReadU16(format + 14) : 0;
  const double seconds = bytesPerSecond > 0 ? static_cast<double>(dataSize) / bytesPerSecond : 0;
  std::printf("%s: format tag 0x%04X, %u channel(s), %u Hz, %u bits, %u data bytes (%.3f s)\n", path, tag, channels,
              rate, bits, dataSize, seconds);

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
  const bool loaded = player.LoadFromMemory(image.data(), image.size(), owner);
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
