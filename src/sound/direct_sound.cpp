#include "sound/direct_sound.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

using namespace sound;

namespace {

constexpr int kDeviceAttempts = 10;
constexpr unsigned kDeviceRetryDelayMs = 500;
constexpr std::uint32_t kMinimumFormatSize = 14;  // WAVEFORMAT: tag, channels, rate, bytes/s, block
constexpr std::uint32_t kFormatExSize = 18;       // WAVEFORMATEX up to and including cbSize

DeviceFactory& CurrentFactory() {
  static DeviceFactory factory;
  return factory;
}

Sleeper& CurrentSleeper() {
  static Sleeper sleeper;
  return sleeper;
}

SoundResult CreateDefaultDevice(std::unique_ptr<SoundDevice>* out) {
  const DeviceFactory& factory = CurrentFactory();
  return factory ? factory(out) : CreatePlatformDevice(out);
}

void SleepBetweenAttempts(unsigned milliseconds) {
  const Sleeper& sleeper = CurrentSleeper();
  if (sleeper) {
    sleeper(milliseconds);
  } else {
    platform::SleepMilliseconds(milliseconds);
  }
}

std::uint32_t ReadU16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

std::uint32_t ReadU32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool IsChunk(const std::uint8_t* p, const char* type) { return std::memcmp(p, type, 4) == 0; }

// Walks the chunks; the outputs are set as the chunks are met.
bool WalkChunks(const std::uint8_t* bytes, std::size_t imageSize, const std::uint8_t** format,
                std::uint32_t* formatSize, const std::uint8_t** data, std::uint32_t* dataSize) {
  if (bytes == nullptr || imageSize < 12) return false;
  if (!IsChunk(bytes, "RIFF") || !IsChunk(bytes + 8, "WAVE")) return false;
  // Chunks start before the end that the RIFF length gives, but never past the image:
  // writers that stream often leave the length too large.
  const std::uint64_t end = std::min<std::uint64_t>(8ull + ReadU32(bytes + 4), imageSize);
  std::uint64_t offset = 12;
  while (offset < end) {
    // A header or content that does not fit in the image means a cut or lying file.
    if (imageSize - offset < 8) return false;
    const std::uint8_t* chunk = bytes + offset;
    const std::uint32_t size = ReadU32(chunk + 4);
    if (size > imageSize - offset - 8) return false;
    const std::uint8_t* content = chunk + 8;
    if (IsChunk(chunk, "fmt ")) {
      if (*format == nullptr) {
        if (size < kMinimumFormatSize) return false;
        *format = content;
        *formatSize = size;
        if (*data != nullptr && *dataSize != 0) return true;
      }
    } else if (IsChunk(chunk, "data")) {
      *data = content;
      *dataSize = size;
      if (*format != nullptr) return true;
    }
    offset += 8ull + size + (size & 1u);  // odd chunks carry one pad byte
  }
  return false;
}

}  // namespace

namespace sound {

DeviceFactory SetDeviceFactory(DeviceFactory factory) {
  return std::exchange(CurrentFactory(), std::move(factory));
}

Sleeper SetSleeper(Sleeper sleeper) { return std::exchange(CurrentSleeper(), std::move(sleeper)); }

}  // namespace sound

SoundDevice* CDirectSound::device = nullptr;
int CDirectSound::instanceCount = 0;

// A new player takes over the device the others hold: dropping the shared reference here
// would leak that device and leave the last player releasing the wrong one.
CDirectSound::CDirectSound() { ++instanceCount; }

CDirectSound::~CDirectSound() {
  ReleaseBuffer();
  --instanceCount;
  if (instanceCount == 0 && device != nullptr) {
    delete device;
    device = nullptr;
  }
}

void CDirectSound::ReleaseBuffer() {
  delete buffer;
  buffer = nullptr;
}

bool CDirectSound::Load(int resourceId, const NativeWindow& owner) {
  platform::ResourceData resource;
  if (!platform::FindResourceData(resourceId, "WAVE", &resource)) return false;
  return LoadFromMemory(resource.bytes, resource.size, owner);
}

bool CDirectSound::Load(const char* resourceName, const NativeWindow& owner) {
  if (resourceName == nullptr) return false;
  if (resourceName[0] == '#' && resourceName[1] != '\0') {
    int id = 0;
    for (const char* p = resourceName + 1; *p != '\0'; ++p) {
      if (*p < '0' || *p > '9' || id > 0xFFFF) return false;
      id = id * 10 + (*p - '0');
    }
    return Load(id, owner);
  }
  platform::ResourceData resource;
  if (!FindNamedWaveResource(resourceName, &resource)) return false;
  return LoadFromMemory(resource.bytes, resource.size, owner);
}

bool CDirectSound::CreateDevice(const NativeWindow& owner) {
  SoundResult result = DSERR_NODRIVER;
  for (int attempt = 0; attempt < kDeviceAttempts; ++attempt) {
    if (attempt > 0) SleepBetweenAttempts(kDeviceRetryDelayMs);
    std::unique_ptr<SoundDevice> created;
    result = CreateDefaultDevice(&created);
    if (result == DS_OK) {
      if (created == nullptr) {
        result = DSERR_GENERIC;
        break;
      }
      device = created.release();
      break;
    }
    // Only a device that is busy or not there yet is worth waiting for.
    if (result != DSERR_ALLOCATED && result != DSERR_NODRIVER) break;
  }
  if (result != DS_OK) return false;
  device->SetCooperativeLevel(owner, DSSCL_NORMAL);
  return true;
}

bool CDirectSound::LoadFromMemory(const void* image, std::size_t imageSize, const NativeWindow& owner) {
  if (device == nullptr && !CreateDevice(owner)) return false;
  // A second load replaces the first sound; a failed one leaves the player empty.
  ReleaseBuffer();
  const std::uint8_t* format = nullptr;
  std::uint32_t formatSize = 0;
  if (!ParseWave(image, imageSize, &format, &formatSize, &dataPointer, &dataSize)) return false;
  if (!CreateBuffer(format, formatSize)) return false;
  return FillBuffer(dataPointer, dataSize);
}

bool CDirectSound::ParseWave(const void* image, std::size_t imageSize, const std::uint8_t** format,
                             std::uint32_t* formatSize, const std::uint8_t** data, std::uint32_t* dataSize) {
  *format = nullptr;
  *formatSize = 0;
  *data = nullptr;
  *dataSize = 0;
  if (WalkChunks(static_cast<const std::uint8_t*>(image), imageSize, format, formatSize, data, dataSize)) {
    return true;
  }
  *format = nullptr;
  *formatSize = 0;
  *data = nullptr;
  *dataSize = 0;
  return false;
}

bool CDirectSound::CreateBuffer(const std::uint8_t* format, std::uint32_t formatSize) {
  ReleaseBuffer();
  if (device == nullptr || format == nullptr) return false;
  // The device reads a WAVEFORMATEX: cbSize, and cbSize bytes after it. A shorter "fmt "
  // chunk, or one whose cbSize claims more than it holds, is padded with zeros so that
  // nothing is read past the image.
  // (A 17-byte chunk holds the low byte of cbSize.)
  std::vector<std::uint8_t> storage(std::max(formatSize, kFormatExSize), 0);
  std::memcpy(storage.data(), format, formatSize);
  const std::uint32_t extra = ReadU16(storage.data() + 16);
  if (storage.size() < kFormatExSize + extra) storage.resize(kFormatExSize + extra, 0);

  BufferDescription description;
  description.flags = DSBCAPS_STATIC;
  description.bufferBytes = dataSize;
  description.format = storage.data();
  description.formatBytes = static_cast<std::uint32_t>(storage.size());
  std::unique_ptr<SoundBuffer> created;
  const SoundResult result = device->CreateSoundBuffer(description, &created);
  if (result != DS_OK || created == nullptr) return false;
  buffer = created.release();
  return true;
}

bool CDirectSound::FillBuffer(const std::uint8_t* data, std::uint32_t size) {
  if (buffer == nullptr) return false;
  void* region = nullptr;
  std::uint32_t regionBytes = 0;
  SoundResult result = buffer->LockEntireBuffer(&region, &regionBytes);
  if (result == DSERR_BUFFERLOST) {
    buffer->Restore();
    result = buffer->LockEntireBuffer(&region, &regionBytes);
  }
  if (result != DS_OK) return false;
  if (region != nullptr) {
    // Never read more than the caller has; whatever the region holds beyond that is zeroed.
    const std::uint32_t copyBytes = data != nullptr ? std::min(regionBytes, size) : 0;
    if (copyBytes > 0) std::memcpy(region, data, copyBytes);
    if (regionBytes > copyBytes) std::memset(static_cast<std::uint8_t*>(region) + copyBytes, 0, regionBytes - copyBytes);
  }
  return buffer->Unlock(region, regionBytes) == DS_OK;
}

bool CDirectSound::IsReady() const {
  return device != nullptr && buffer != nullptr && dataPointer != nullptr && dataSize != 0;
}

SoundResult CDirectSound::Play(std::uint32_t startPosition, bool loop) {
  if (!IsReady() || !IsEnabled()) return DS_OK;
  buffer->SetCurrentPosition(std::min(startPosition, dataSize));
  const std::uint32_t flags = loop ? DSBPLAY_LOOPING : 0;
  const SoundResult result = buffer->Play(flags);
  if (result != DSERR_BUFFERLOST) return result;
  FillBuffer(dataPointer, dataSize);  // restores the buffer on the way
  return buffer->Play(flags);
}

SoundResult CDirectSound::Stop() {
  if (!IsReady()) return DS_OK;
  return buffer->Stop();
}

SoundResult CDirectSound::Pause() { return Stop(); }

SoundResult CDirectSound::Resume() {
  if (!IsReady()) return DS_OK;
  std::uint32_t play = 0;
  std::uint32_t write = 0;
  const SoundResult result = buffer->GetCurrentPosition(&play, &write);
  if (result != DS_OK) return result;
  return Play(play, false);
}
