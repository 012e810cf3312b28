// Any bytes: the parser must stay inside them and, when it accepts them, point only into
// them; the player must then hand the device a format it can read whole and fill its
// buffer without reading past the image.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "sound/direct_sound.h"

using namespace sound;

namespace {

class TouchingBuffer final : public SoundBuffer {
 public:
  explicit TouchingBuffer(std::uint32_t bytes) : memory_(bytes) {}
  SoundResult LockEntireBuffer(void** region, std::uint32_t* bytes) override {
    *region = memory_.data();
    *bytes = static_cast<std::uint32_t>(memory_.size());
    return DS_OK;
  }
  SoundResult Unlock(void*, std::uint32_t) override { return DS_OK; }
  SoundResult Restore() override { return DS_OK; }
  SoundResult Play(std::uint32_t) override { return DS_OK; }
  SoundResult Stop() override { return DS_OK; }
  SoundResult SetCurrentPosition(std::uint32_t position) override {
    if (position > memory_.size()) __builtin_trap();
    return DS_OK;
  }
  SoundResult GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) override {
    *play = *write = 0;
    return DS_OK;
  }

 private:
  std::vector<std::uint8_t> memory_;
};

class TouchingDevice final : public SoundDevice {
 public:
  SoundResult SetCooperativeLevel(NativeWindow, std::uint32_t) override { return DS_OK; }
  SoundResult CreateSoundBuffer(const BufferDescription& d, std::unique_ptr<SoundBuffer>* buffer) override {
    // Read the format as a device would: cbSize, then cbSize more bytes.
    if (d.formatBytes < 18) __builtin_trap();
    const std::uint32_t cbSize = d.format[16] | (d.format[17] << 8);
    if (d.formatBytes < 18 + cbSize) __builtin_trap();
    volatile std::uint8_t sum = 0;
    for (std::uint32_t i = 0; i < d.formatBytes; ++i) sum = sum + d.format[i];
    if (d.bufferBytes == 0 || d.bufferBytes > (1u << 24)) return DSERR_INVALIDPARAM;
    buffer->reset(new TouchingBuffer(d.bufferBytes));
    return DS_OK;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  // An exact-size heap copy, so that AddressSanitizer sees any read past the image.
  std::unique_ptr<std::uint8_t[]> image(new std::uint8_t[size == 0 ? 1 : size]);
  if (size > 0) std::memcpy(image.get(), bytes, size);

  const std::uint8_t* format = nullptr;
  const std::uint8_t* data = nullptr;
  std::uint32_t formatSize = 0;
  std::uint32_t dataSize = 0;
  if (CDirectSound::ParseWave(image.get(), size, &format, &formatSize, &data, &dataSize)) {
    const std::uint8_t* end = image.get() + size;
    if (format < image.get() || formatSize < 14 || formatSize > static_cast<std::size_t>(end - format)) __builtin_trap();
    if (data < image.get() || dataSize > static_cast<std::size_t>(end - data)) __builtin_trap();
  }

  static bool installed = false;
  if (!installed) {
    SetDeviceFactory([](std::unique_ptr<SoundDevice>* device) {
      device->reset(new TouchingDevice);
      return DS_OK;
    });
    SetSleeper([](unsigned) {});
    installed = true;
  }
  CDirectSound player;
  NativeWindow owner = 0;
  if (player.LoadFromMemory(image.get(), size, owner)) {
    player.Play(0xFFFFFFFF, true);
    player.Resume();
  }
  return 0;
}
