// The sound device as the player sees it: DirectSound's device and static secondary
// buffer, cut down to the calls the player makes. Windows wraps the real DirectSound
// objects; Linux has its own backend with the same result codes; tests script fakes.
//
// Include this before any Windows header: dsound.h defines the same names as macros.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/platform.h"

namespace sound {

// DirectSound's HRESULT values, kept on every platform.
using SoundResult = std::int32_t;
constexpr SoundResult DS_OK = 0;
constexpr SoundResult DSERR_ALLOCATED = static_cast<SoundResult>(0x8878000Au);
constexpr SoundResult DSERR_BADFORMAT = static_cast<SoundResult>(0x88780064u);
constexpr SoundResult DSERR_NODRIVER = static_cast<SoundResult>(0x88780078u);
constexpr SoundResult DSERR_BUFFERLOST = static_cast<SoundResult>(0x88780096u);
constexpr SoundResult DSERR_INVALIDCALL = static_cast<SoundResult>(0x88780032u);
constexpr SoundResult DSERR_INVALIDPARAM = static_cast<SoundResult>(0x80070057u);
constexpr SoundResult DSERR_OUTOFMEMORY = static_cast<SoundResult>(0x8007000Eu);
constexpr SoundResult DSERR_GENERIC = static_cast<SoundResult>(0x80004005u);

constexpr std::uint32_t DSSCL_NORMAL = 1;
constexpr std::uint32_t DSBCAPS_STATIC = 0x2;
constexpr std::uint32_t DSBLOCK_ENTIREBUFFER = 2;
constexpr std::uint32_t DSBPLAY_LOOPING = 1;
constexpr std::uint32_t kBufferDescriptionSize = 36;  // sizeof(DSBUFFERDESC) on 32-bit Windows

// What CreateSoundBuffer is given. `format` is a WAVEFORMATEX image of `formatBytes`
// bytes (at least 18, so that cbSize is always readable, plus cbSize extra bytes).
struct BufferDescription {
  std::uint32_t size = kBufferDescriptionSize;
  std::uint32_t flags = 0;
  std::uint32_t bufferBytes = 0;
  const std::uint8_t* format = nullptr;
  std::uint32_t formatBytes = 0;
};

// One static secondary buffer (IDirectSoundBuffer). Destroying it releases it.
class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;
  // Lock(0, 0, ..., DSBLOCK_ENTIREBUFFER) asking only for the first region.
  virtual SoundResult LockEntireBuffer(void** region, std::uint32_t* regionBytes) = 0;
  virtual SoundResult Unlock(void* region, std::uint32_t regionBytes) = 0;
  virtual SoundResult Restore() = 0;
  virtual SoundResult Play(std::uint32_t flags) = 0;
  virtual SoundResult Stop() = 0;
  virtual SoundResult SetCurrentPosition(std::uint32_t position) = 0;
  virtual SoundResult GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) = 0;
};

// The sound device (IDirectSound). Destroying it releases it; its buffers go first.
class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  virtual SoundResult SetCooperativeLevel(NativeWindow owner, std::uint32_t level) = 0;
  virtual SoundResult CreateSoundBuffer(const BufferDescription& description,
                                        std::unique_ptr<SoundBuffer>* buffer) = 0;
};

// DirectSoundCreate for the default device: a result code and, on DS_OK, the device.
using DeviceFactory = std::function<SoundResult(std::unique_ptr<SoundDevice>* device)>;

// The platform's own device (DirectSound on Windows, OpenAL on Linux).
SoundResult CreatePlatformDevice(std::unique_ptr<SoundDevice>* device);

// Seams for tests. Each returns the previous value; an empty function restores the
// platform default (CreatePlatformDevice, platform::SleepMilliseconds).
DeviceFactory SetDeviceFactory(DeviceFactory factory);
using Sleeper = std::function<void(unsigned milliseconds)>;
Sleeper SetSleeper(Sleeper sleeper);

// A named "WAVE" resource of this program (Windows: FindResourceA by name; Linux has
// numbered resources only and finds none).
bool FindNamedWaveResource(const char* name, platform::ResourceData* out);

}  // namespace sound
