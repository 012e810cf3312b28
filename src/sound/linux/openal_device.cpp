// The player's device on Linux: OpenAL Soft. A static sound buffer is one OpenAL buffer
// played by its own source, with the buffer's bytes kept here so that they can be locked
// and written the way a DirectSound buffer is.
#include <AL/al.h>
#include <AL/alc.h>

#include <vector>

#include "sound/sound_device.h"

namespace sound {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uint32_t kMinimumBufferBytes = 4;           // DSBSIZE_MIN
constexpr std::uint32_t kMaximumBufferBytes = 0x0FFFFFFF;  // DSBSIZE_MAX
constexpr std::uint32_t kMinimumRate = 100;                // DSBFREQUENCY_MIN
constexpr std::uint32_t kMaximumRate = 200000;             // DSBFREQUENCY_MAX

std::uint32_t ReadU16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t ReadU32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct PcmFormat {
  ALenum format = AL_NONE;
  ALsizei rate = 0;
  std::uint32_t blockAlign = 0;
};

// OpenAL plays 8- and 16-bit PCM in one or two channels; anything else is a format this
// device does not take, as DirectSound would say.
SoundResult ReadPcmFormat(const BufferDescription& description, PcmFormat* out) {
  if (description.format == nullptr || description.formatBytes < 18) return DSERR_INVALIDPARAM;
  const std::uint8_t* f = description.format;
  std::uint32_t tag = ReadU16(f);
  if (tag == kFormatExtensible) {
    if (ReadU16(f + 16) < 22 || description.formatBytes < 40) return DSERR_BADFORMAT;
    tag = ReadU16(f + 24);  // first two bytes of the sub-format GUID
  }
  if (tag != kFormatPcm) return DSERR_BADFORMAT;
  const std::uint32_t channels = ReadU16(f + 2);
  const std::uint32_t rate = ReadU32(f + 4);
  const std::uint32_t blockAlign = ReadU16(f + 12);
  const std::uint32_t bits = ReadU16(f + 14);
  if (rate < kMinimumRate || rate > kMaximumRate) return DSERR_INVALIDPARAM;
  if ((bits != 8 && bits != 16) || (channels != 1 && channels != 2)) return DSERR_BADFORMAT;
  if (blockAlign != channels * bits / 8) return DSERR_INVALIDPARAM;
  if (bits == 8) {
    out->format = channels == 1 ? AL_FORMAT_MONO8 : AL_FORMAT_STEREO8;
  } else {
    out->format = channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
  }
  out->rate = static_cast<ALsizei>(rate);
  out->blockAlign = blockAlign;
  return DS_OK;
}

class OpenAlBuffer final : public SoundBuffer {
 public:
  OpenAlBuffer(ALuint source, ALuint buffer, const PcmFormat& format, std::uint32_t bytes)
      : source_(source), buffer_(buffer), format_(format), memory_(bytes, 0) {}

  ~OpenAlBuffer() override {
    alSourceStop(source_);
    alDeleteSources(1, &source_);
    alDeleteBuffers(1, &buffer_);
  }

  SoundResult LockEntireBuffer(void** region, std::uint32_t* regionBytes) override {
    if (locked_) return DSERR_INVALIDCALL;
    locked_ = true;
    *region = memory_.data();
    *regionBytes = static_cast<std::uint32_t>(memory_.size());
    return DS_OK;
  }

  SoundResult Unlock(void* region, std::uint32_t regionBytes) override {
    if (!locked_ || region != memory_.data() || regionBytes > memory_.size()) return DSERR_INVALIDPARAM;
    locked_ = false;
    return Upload();
  }

  // Nothing takes an OpenAL buffer's memory away.
  SoundResult Restore() override { return DS_OK; }

  SoundResult Play(std::uint32_t flags) override {
    alSourcei(source_, AL_LOOPING, (flags & DSBPLAY_LOOPING) != 0 ? AL_TRUE : AL_FALSE);
    // Playing a playing buffer only changes its flags; OpenAL would start it over.
    if (State() != AL_PLAYING) {
      if (pendingPosition_ >= 0) alSourcei(source_, AL_BYTE_OFFSET, pendingPosition_);
      alSourcePlay(source_);
      pendingPosition_ = -1;
    }
    started_ = true;
    return alGetError() == AL_NO_ERROR ? DS_OK : DSERR_GENERIC;
  }

  // Stopping keeps the position, as a DirectSound buffer does.
  SoundResult Stop() override {
    if (State() == AL_PLAYING) {
      ALint offset = 0;
      alGetSourcei(source_, AL_BYTE_OFFSET, &offset);
      alSourcePause(source_);
      pendingPosition_ = offset;
    }
    return alGetError() == AL_NO_ERROR ? DS_OK : DSERR_GENERIC;
  }

  SoundResult SetCurrentPosition(std::uint32_t position) override {
    // OpenAL takes offsets inside the sound only; the end itself is not a place to play from.
    if (position >= playableBytes_) return DSERR_INVALIDPARAM;
    position -= position % format_.blockAlign;
    if (State() == AL_PLAYING) {
      alSourcei(source_, AL_BYTE_OFFSET, static_cast<ALint>(position));
    } else {
      pendingPosition_ = static_cast<ALint>(position);
    }
    return alGetError() == AL_NO_ERROR ? DS_OK : DSERR_GENERIC;
  }

  SoundResult GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) override {
    const ALint state = State();
    std::uint32_t position = 0;
    if (state == AL_PLAYING) {
      ALint offset = 0;
      alGetSourcei(source_, AL_BYTE_OFFSET, &offset);
      position = static_cast<std::uint32_t>(offset);
    } else if (state == AL_STOPPED && started_) {
      position = 0;  // ran to its end
      pendingPosition_ = -1;
    } else if (pendingPosition_ >= 0) {
      position = static_cast<std::uint32_t>(pendingPosition_);
    }
    *play = position;
    *write = position;  // a static buffer is never written while it plays
    return alGetError() == AL_NO_ERROR ? DS_OK : DSERR_GENERIC;
  }

 private:
  ALint State() const {
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    return state;
  }

  SoundResult Upload() {
    // OpenAL refuses new data for a buffer that a source holds: detach, write, reattach.
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    playableBytes_ = static_cast<std::uint32_t>(memory_.size() - memory_.size() % format_.blockAlign);
    alBufferData(buffer_, format_.format, memory_.data(), static_cast<ALsizei>(playableBytes_), format_.rate);
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
    started_ = false;
    pendingPosition_ = -1;
    return alGetError() == AL_NO_ERROR ? DS_OK : DSERR_GENERIC;
  }

  ALuint source_;
  ALuint buffer_;
  PcmFormat format_;
  std::vector<std::uint8_t> memory_;
  std::uint32_t playableBytes_ = 0;
  ALint pendingPosition_ = -1;  // where the next play starts, while not playing
  bool started_ = false;
  bool locked_ = false;
};

class OpenAlDevice final : public SoundDevice {
 public:
  OpenAlDevice(ALCdevice* device, ALCcontext* context) : device_(device), context_(context) {}
  ~OpenAlDevice() override {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
  }

  // There is no other program to cooperate with through OpenAL.
  SoundResult SetCooperativeLevel(NativeWindow, std::uint32_t) override { return DS_OK; }

  SoundResult CreateSoundBuffer(const BufferDescription& description,
                                std::unique_ptr<SoundBuffer>* buffer) override {
    buffer->reset();
    if (description.size != kBufferDescriptionSize) return DSERR_INVALIDPARAM;
    if (description.bufferBytes < kMinimumBufferBytes || description.bufferBytes > kMaximumBufferBytes) {
      return DSERR_INVALIDPARAM;
    }
    PcmFormat format;
    const SoundResult formatResult = ReadPcmFormat(description, &format);
    if (formatResult != DS_OK) return formatResult;
    alcMakeContextCurrent(context_);
    alGetError();
    ALuint source = 0;
    ALuint data = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) return DSERR_OUTOFMEMORY;
    alGenBuffers(1, &data);
    if (alGetError() != AL_NO_ERROR) {
      alDeleteSources(1, &source);
      return DSERR_OUTOFMEMORY;
    }
    buffer->reset(new OpenAlBuffer(source, data, format, description.bufferBytes));
    return DS_OK;
  }

 private:
  ALCdevice* device_;
  ALCcontext* context_;
};

}  // namespace

SoundResult CreatePlatformDevice(std::unique_ptr<SoundDevice>* device) {
  device->reset();
  ALCdevice* alDevice = alcOpenDevice(nullptr);
  if (alDevice == nullptr) return DSERR_NODRIVER;
  ALCcontext* context = alcCreateContext(alDevice, nullptr);
  if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
    if (context != nullptr) alcDestroyContext(context);
    alcCloseDevice(alDevice);
    return DSERR_NODRIVER;
  }
  device->reset(new OpenAlDevice(alDevice, context));
  return DS_OK;
}

// The Linux resource table is keyed by number only.
bool FindNamedWaveResource(const char*, platform::ResourceData* out) {
  *out = platform::ResourceData{};
  return false;
}

}  // namespace sound
