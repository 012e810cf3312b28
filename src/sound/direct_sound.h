// Plays one RIFF WAVE sound, from a "WAVE" resource or from memory, through one static
// sound buffer. All players share one device, created by the first load that needs it
// and released by the last player to go.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"
#include "sound/sound_device.h"

class CDirectSound {
 public:
  CDirectSound();
  virtual ~CDirectSound();
  CDirectSound(const CDirectSound&) = delete;
  CDirectSound& operator=(const CDirectSound&) = delete;

  // A "WAVE" resource of this program by integer id, or by name ("#123" is id 123).
  bool Load(int resourceId, const NativeWindow& owner);
  bool Load(const char* resourceName, const NativeWindow& owner);
  // `image` must stay valid for the life of the player: the buffer is refilled from it
  // when it is lost.
  bool LoadFromMemory(const void* image, std::size_t imageSize, const NativeWindow& owner);

  bool IsReady() const;
  bool IsEnabled() const { return enabled; }

  sound::SoundResult Play(std::uint32_t startPosition, bool loop);
  sound::SoundResult Stop();
  sound::SoundResult Pause();
  sound::SoundResult Resume();

  // Finds the "fmt " and "data" chunks of a RIFF WAVE image of `imageSize` bytes. No read
  // leaves the image: a chunk that does not fit in it fails the parse.
  static bool ParseWave(const void* image, std::size_t imageSize, const std::uint8_t** format,
                        std::uint32_t* formatSize, const std::uint8_t** data, std::uint32_t* dataSize);

  bool CreateBuffer(const std::uint8_t* format, std::uint32_t formatSize);
  bool FillBuffer(const std::uint8_t* data, std::uint32_t size);

  // The shared device (null while none is held) and the number of live players.
  static sound::SoundDevice* Device() { return device; }
  static int InstanceCount() { return instanceCount; }

 private:
  bool CreateDevice(const NativeWindow& owner);
  void ReleaseBuffer();

  const std::uint8_t* dataPointer = nullptr;
  std::uint32_t dataSize = 0;
  sound::SoundBuffer* buffer = nullptr;  // owned
  bool enabled = true;

  static sound::SoundDevice* device;  // owned by the players together
  static int instanceCount;
};
