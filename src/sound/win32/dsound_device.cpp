// The player's device on Windows: DirectSound itself.
#include "platform/win32/resources_win32.h"
#include "sound/sound_device.h"  // before dsound.h, which defines the same names as macros

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

namespace sound {
namespace {

class DirectSoundBuffer final : public SoundBuffer {
 public:
  explicit DirectSoundBuffer(IDirectSoundBuffer* buffer) : buffer_(buffer) {}
  ~DirectSoundBuffer() override { buffer_->Release(); }

  SoundResult LockEntireBuffer(void** region, std::uint32_t* regionBytes) override {
    DWORD bytes = 0;
    const HRESULT result = buffer_->Lock(0, 0, region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    *regionBytes = bytes;
    return result;
  }
  SoundResult Unlock(void* region, std::uint32_t regionBytes) override {
    return buffer_->Unlock(region, regionBytes, nullptr, 0);
  }
  SoundResult Restore() override { return buffer_->Restore(); }
  SoundResult Play(std::uint32_t flags) override { return buffer_->Play(0, 0, flags); }
  SoundResult Stop() override { return buffer_->Stop(); }
  SoundResult SetCurrentPosition(std::uint32_t position) override {
    return buffer_->SetCurrentPosition(position);
  }
  SoundResult GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) override {
    DWORD playCursor = 0;
    DWORD writeCursor = 0;
    const HRESULT result = buffer_->GetCurrentPosition(&playCursor, &writeCursor);
    *play = playCursor;
    *write = writeCursor;
    return result;
  }

 private:
  IDirectSoundBuffer* buffer_;
};

class DirectSoundDevice final : public SoundDevice {
 public:
  explicit DirectSoundDevice(IDirectSound* device) : device_(device) {}
  ~DirectSoundDevice() override { device_->Release(); }

  SoundResult SetCooperativeLevel(NativeWindow owner, std::uint32_t level) override {
    return device_->SetCooperativeLevel(reinterpret_cast<HWND>(owner), level);
  }

  SoundResult CreateSoundBuffer(const BufferDescription& description,
                                std::unique_ptr<SoundBuffer>* buffer) override {
    DSBUFFERDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = description.size;
    desc.dwFlags = description.flags;
    desc.dwBufferBytes = description.bufferBytes;
    desc.lpwfxFormat = reinterpret_cast<WAVEFORMATEX*>(const_cast<std::uint8_t*>(description.format));
    IDirectSoundBuffer* created = nullptr;
    const HRESULT result = device_->CreateSoundBuffer(&desc, &created, nullptr);
    if (FAILED(result) || created == nullptr) {
      buffer->reset();
      return FAILED(result) ? result : DSERR_GENERIC;
    }
    buffer->reset(new DirectSoundBuffer(created));
    return result;
  }

 private:
  IDirectSound* device_;
};

static_assert(sizeof(DSBUFFERDESC) == 36, "the buffer description of 32-bit DirectSound");

}  // namespace

SoundResult CreatePlatformDevice(std::unique_ptr<SoundDevice>* device) {
  IDirectSound* created = nullptr;
  const HRESULT result = DirectSoundCreate(nullptr, &created, nullptr);
  if (result != DS_OK || created == nullptr) {
    device->reset();
    return result != DS_OK ? result : DSERR_GENERIC;
  }
  device->reset(new DirectSoundDevice(created));
  return result;
}

bool FindNamedWaveResource(const char* name, platform::ResourceData* out) {
  return platform::FindNamedResourceData(name, "WAVE", out);
}

}  // namespace sound
