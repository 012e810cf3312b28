// The platform's own device behaves as the player expects a DirectSound buffer to: a set
// position is where play starts, stop keeps the position, looping wraps, a non-looping
// buffer ends. The test's environment gives each platform an output that discards the
// sound (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "sound/direct_sound.h"
#include "wave_image.h"

using namespace sound;

namespace {

constexpr std::uint32_t kToneBytes = 4000;  // 0.25 s of 8 kHz 16-bit mono

std::string Hex(SoundResult r) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(r));
  return text;
}

// Waits until `done` holds, up to two seconds; the device mixes in real time.
bool WaitFor(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < deadline) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

class BackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const SoundResult result = CreatePlatformDevice(&device);
    ASSERT_EQ(Hex(result), Hex(DS_OK)) << "no sound device: run through ctest, which sets up a silent one";
    ASSERT_TRUE(platform::FindResourceData(950, "WAVE", &tone));
    const std::uint8_t* data = nullptr;
    std::uint32_t dataSize = 0;
    std::uint32_t formatSize = 0;
    ASSERT_TRUE(CDirectSound::ParseWave(tone.bytes, tone.size, &format, &formatSize, &data, &dataSize));
    ASSERT_EQ(dataSize, kToneBytes);
    formatEx.assign(format, format + formatSize);
    formatEx.resize(18, 0);
    BufferDescription description;
    description.flags = DSBCAPS_STATIC;
    description.bufferBytes = dataSize;
    description.format = formatEx.data();
    description.formatBytes = static_cast<std::uint32_t>(formatEx.size());
    ASSERT_EQ(Hex(device->CreateSoundBuffer(description, &buffer)), Hex(DS_OK));
    void* region = nullptr;
    std::uint32_t bytes = 0;
    ASSERT_EQ(buffer->LockEntireBuffer(&region, &bytes), DS_OK);
    ASSERT_EQ(bytes, kToneBytes);
    std::memcpy(region, data, bytes);
    ASSERT_EQ(buffer->Unlock(region, bytes), DS_OK);
  }
  void TearDown() override {
    buffer.reset();
    device.reset();
  }

  std::uint32_t Position() {
    std::uint32_t play = 0;
    std::uint32_t write = 0;
    EXPECT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    return play;
  }

  std::unique_ptr<SoundDevice> device;
  std::unique_ptr<SoundBuffer> buffer;
  platform::ResourceData tone;
  const std::uint8_t* format = nullptr;
  std::vector<std::uint8_t> formatEx;
};

TEST_F(BackendTest, PlaysFromTheSetPositionAndStopKeepsIt) {
  ASSERT_EQ(buffer->SetCurrentPosition(1000), DS_OK);
  EXPECT_EQ(Position(), 1000u);
  ASSERT_EQ(buffer->Play(0), DS_OK);
  EXPECT_GE(Position(), 1000u) << "play starts at the set position";
  EXPECT_TRUE(WaitFor([&] { return Position() > 1000; })) << Position();
  ASSERT_EQ(buffer->Stop(), DS_OK);
  const std::uint32_t stoppedAt = Position();
  EXPECT_GT(stoppedAt, 1000u);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(Position(), stoppedAt) << "a stopped buffer keeps its place";

  // Resuming: play on from there.
  ASSERT_EQ(buffer->SetCurrentPosition(stoppedAt), DS_OK);
  ASSERT_EQ(buffer->Play(0), DS_OK);
  EXPECT_GE(Position(), stoppedAt);
  EXPECT_TRUE(WaitFor([&] { return Position() > stoppedAt; }));
  buffer->Stop();
}

TEST_F(BackendTest, LoopingWrapsAndOneShotEnds) {
  ASSERT_EQ(buffer->SetCurrentPosition(kToneBytes - 400), DS_OK);  // 25 ms before the end
  ASSERT_EQ(buffer->Play(DSBPLAY_LOOPING), DS_OK);
  EXPECT_TRUE(WaitFor([&] { const std::uint32_t p = Position(); return p > 0 && p < kToneBytes - 800; }))
      << "a looping buffer starts over";
  buffer->Stop();

  ASSERT_EQ(buffer->SetCurrentPosition(kToneBytes - 400), DS_OK);
  ASSERT_EQ(buffer->Play(0), DS_OK);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  const std::uint32_t ended = Position();
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(Position(), ended) << "a one-shot buffer has ended";
}

TEST_F(BackendTest, PlayerRunsOnTheRealDevice) {
  // The player makes its own device; this one is released first so it does not get in the way.
  buffer.reset();
  device.reset();
  const Sleeper previous = SetSleeper([](unsigned) {});
  {
    CDirectSound player;
    NativeWindow owner = 0;
    ASSERT_TRUE(player.Load(950, owner));
    EXPECT_TRUE(player.IsReady());
    EXPECT_EQ(Hex(player.Play(0, true)), Hex(DS_OK));
    EXPECT_EQ(Hex(player.Pause()), Hex(DS_OK));
    EXPECT_EQ(Hex(player.Resume()), Hex(DS_OK));
    EXPECT_EQ(Hex(player.Stop()), Hex(DS_OK));
    // Clamped to the end, a position the device may refuse; the play request still stands.
    EXPECT_EQ(Hex(player.Play(kToneBytes * 2, false)), Hex(DS_OK));
    EXPECT_EQ(Hex(player.Stop()), Hex(DS_OK));
  }
  EXPECT_EQ(CDirectSound::Device(), nullptr);
  SetSleeper(previous);
}

TEST_F(BackendTest, RefusesFormatsItCannotPlay) {
  struct Bad {
    const char* name;
    std::vector<std::uint8_t> format;
  };
  std::vector<std::uint8_t> noChannels = WaveImage::PcmFormat(18);
  noChannels[2] = 0;
  std::vector<std::uint8_t> noRate = WaveImage::PcmFormat(18, 1, 16, 0);
  for (const Bad& bad : {Bad{"no channels", noChannels}, Bad{"rate 0", noRate}}) {
    BufferDescription description;
    description.flags = DSBCAPS_STATIC;
    description.bufferBytes = 800;
    description.format = bad.format.data();
    description.formatBytes = static_cast<std::uint32_t>(bad.format.size());
    std::unique_ptr<SoundBuffer> refused;
    EXPECT_NE(device->CreateSoundBuffer(description, &refused), DS_OK) << bad.name;
    EXPECT_EQ(refused, nullptr) << bad.name;
  }
}

// The real wait between attempts, once: an absent device costs nine sleeps of 500 ms.
TEST(DeviceRetryTiming, AbsentDeviceIsGivenUpAfterTenAttemptsAndFourAndAHalfSeconds) {
  int attempts = 0;
  const DeviceFactory previous = SetDeviceFactory([&](std::unique_ptr<SoundDevice>*) {
    ++attempts;
    return DSERR_NODRIVER;
  });
  const std::vector<std::uint8_t> image = WaveImage().ChunkWithContent("fmt ", WaveImage::PcmFormat(16)).Chunk("data", 8).Bytes();
  const auto started = std::chrono::steady_clock::now();
  bool loaded = true;
  {
    CDirectSound player;
    NativeWindow owner = 0;
    loaded = player.LoadFromMemory(image.data(), image.size(), owner);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  SetDeviceFactory(previous);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(attempts, 10);
  EXPECT_GE(seconds, 4.45);
  std::printf("10 attempts with the real sleep took %.3f s\n", seconds);
}

}  // namespace
