// The player's rules against a scripted device: device retries, buffer set-up and filling,
// lost buffers, play/stop/resume, and who owns the shared device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sound/direct_sound.h"
#include "wave_image.h"

using namespace sound;

namespace {

// Everything the fake device and its buffers record and are told to do.
struct FakeWorld {
  // Results of successive DirectSoundCreate attempts; DS_OK once the script runs out.
  std::deque<SoundResult> createResults;
  int attempts = 0;
  std::vector<unsigned> sleeps;
  int devicesAlive = 0;
  int buffersAlive = 0;

  NativeWindow cooperativeWindow = 0;
  std::uint32_t cooperativeLevel = 0;
  int cooperativeCalls = 0;

  SoundResult createBufferResult = DS_OK;
  BufferDescription description;
  std::vector<std::uint8_t> formatSeen;

  bool createLost = false;       // new buffers start out lost
  bool restoreFails = false;     // Restore leaves the buffer lost
  std::uint32_t playCursor = 0;  // what GetCurrentPosition reports
  std::vector<std::string> calls;
  std::vector<std::uint8_t>* lastMemory = nullptr;
  bool* lastLost = nullptr;
};

class FakeBuffer final : public SoundBuffer {
 public:
  FakeBuffer(FakeWorld* world, std::uint32_t bytes) : world_(world), memory_(bytes, 0xAB) {
    ++world_->buffersAlive;
    lost_ = world_->createLost;
    world_->lastMemory = &memory_;
    world_->lastLost = &lost_;
  }
  ~FakeBuffer() override {
    --world_->buffersAlive;
    if (world_->lastMemory == &memory_) {
      world_->lastMemory = nullptr;
      world_->lastLost = nullptr;
    }
  }
  SoundResult LockEntireBuffer(void** region, std::uint32_t* bytes) override {
    world_->calls.push_back("Lock");
    if (lost_) return DSERR_BUFFERLOST;
    *region = memory_.data();
    *bytes = static_cast<std::uint32_t>(memory_.size());
    return DS_OK;
  }
  SoundResult Unlock(void* region, std::uint32_t bytes) override {
    world_->calls.push_back("Unlock");
    return region == memory_.data() && bytes == memory_.size() ? DS_OK : DSERR_INVALIDPARAM;
  }
  SoundResult Restore() override {
    world_->calls.push_back("Restore");
    if (world_->restoreFails) return DSERR_BUFFERLOST;
    lost_ = false;
    std::fill(memory_.begin(), memory_.end(), 0xAB);  // a restored buffer's content is gone
    return DS_OK;
  }
  SoundResult Play(std::uint32_t flags) override {
    world_->calls.push_back("Play(" + std::to_string(flags) + ")");
    return lost_ ? DSERR_BUFFERLOST : DS_OK;
  }
  SoundResult Stop() override {
    world_->calls.push_back("Stop");
    return DS_OK;
  }
  SoundResult SetCurrentPosition(std::uint32_t position) override {
    world_->calls.push_back("SetCurrentPosition(" + std::to_string(position) + ")");
    return DS_OK;
  }
  SoundResult GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) override {
    world_->calls.push_back("GetCurrentPosition");
    *play = world_->playCursor;
    *write = world_->playCursor + 100;
    return DS_OK;
  }

 private:
  FakeWorld* world_;
  std::vector<std::uint8_t> memory_;
  bool lost_ = false;
};

class FakeDevice final : public SoundDevice {
 public:
  explicit FakeDevice(FakeWorld* world) : world_(world) { ++world_->devicesAlive; }
  ~FakeDevice() override {
    EXPECT_EQ(world_->buffersAlive, 0) << "the device went before its buffers";
    --world_->devicesAlive;
  }
  SoundResult SetCooperativeLevel(NativeWindow owner, std::uint32_t level) override {
    world_->cooperativeWindow = owner;
    world_->cooperativeLevel = level;
    ++world_->cooperativeCalls;
    return DS_OK;
  }
  SoundResult CreateSoundBuffer(const BufferDescription& d, std::unique_ptr<SoundBuffer>* buffer) override {
    world_->description = d;
    world_->formatSeen.assign(d.format, d.format + d.formatBytes);
    if (world_->createBufferResult != DS_OK) return world_->createBufferResult;
    buffer->reset(new FakeBuffer(world_, d.bufferBytes));
    return DS_OK;
  }

 private:
  FakeWorld* world_;
};

// Installs the fake device and a sleep that only records, for one test.
class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousFactory_ = SetDeviceFactory([this](std::unique_ptr<SoundDevice>* out) {
      ++world.attempts;
      SoundResult result = DS_OK;
      if (!world.createResults.empty()) {
        result = world.createResults.front();
        world.createResults.pop_front();
      }
      if (result == DS_OK) out->reset(new FakeDevice(&world));
      return result;
    });
    previousSleeper_ = SetSleeper([this](unsigned ms) { world.sleeps.push_back(ms); });
  }
  void TearDown() override {
    SetDeviceFactory(previousFactory_);
    SetSleeper(previousSleeper_);
    EXPECT_EQ(CDirectSound::InstanceCount(), 0);
    EXPECT_EQ(CDirectSound::Device(), nullptr);
    EXPECT_EQ(world.devicesAlive, 0) << "a device was leaked";
    EXPECT_EQ(world.buffersAlive, 0) << "a buffer was leaked";
  }

  // fmt 16 bytes, then 8 bytes of data: data content at offset 44.
  static std::vector<std::uint8_t> SmallWave(std::uint32_t dataBytes = 8) {
    return WaveImage().ChunkWithContent("fmt ", WaveImage::PcmFormat(16)).Chunk("data", dataBytes).Bytes();
  }

  FakeWorld world;
  NativeWindow owner = 0x1234;

 private:
  DeviceFactory previousFactory_;
  Sleeper previousSleeper_;
};

struct RetryCase {
  std::string name;
  std::vector<SoundResult> script;
  bool loads;
  int attempts;
};

std::ostream& operator<<(std::ostream& out, const RetryCase& c) { return out << c.name; }

class DeviceRetryTest : public PlayerTest, public ::testing::WithParamInterface<RetryCase> {};

TEST_P(DeviceRetryTest, RetriesOnlyABusyOrMissingDeviceTenTimes) {
  const RetryCase& c = GetParam();
  world.createResults.assign(c.script.begin(), c.script.end());
  const std::vector<std::uint8_t> image = SmallWave();
  {
    CDirectSound player;
    EXPECT_EQ(player.LoadFromMemory(image.data(), image.size(), owner), c.loads);
    EXPECT_EQ(player.IsReady(), c.loads);
    EXPECT_EQ(world.attempts, c.attempts);
    // 500 ms before every attempt but the first.
    EXPECT_EQ(world.sleeps, std::vector<unsigned>(c.attempts - 1, 500u));
    EXPECT_EQ(world.cooperativeCalls, c.loads ? 1 : 0);
  }
}

const std::vector<SoundResult> Repeat(SoundResult r, int n, std::vector<SoundResult> tail = {}) {
  std::vector<SoundResult> v(n, r);
  v.insert(v.end(), tail.begin(), tail.end());
  return v;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, DeviceRetryTest,
    ::testing::Values(RetryCase{"FreeAtOnce", {}, true, 1},
                      RetryCase{"BusyThreeTimesThenFree", Repeat(DSERR_ALLOCATED, 3), true, 4},
                      RetryCase{"MissingThenBusyThenFree", {DSERR_NODRIVER, DSERR_ALLOCATED}, true, 3},
                      RetryCase{"FreeOnTheTenthAttempt", Repeat(DSERR_ALLOCATED, 9), true, 10},
                      RetryCase{"BusyTooLong", Repeat(DSERR_ALLOCATED, 10), false, 10},
                      RetryCase{"NeverThere", Repeat(DSERR_NODRIVER, 12), false, 10},
                      RetryCase{"OtherErrorEndsAtOnce", {DSERR_OUTOFMEMORY}, false, 1},
                      RetryCase{"OtherErrorAfterBusyEndsThere", {DSERR_ALLOCATED, DSERR_INVALIDPARAM}, false, 2}),
    [](const ::testing::TestParamInfo<RetryCase>& info) { return info.param.name; });

TEST_F(PlayerTest, LoadHandsTheFormatOverAndCopiesTheSound) {
  const std::vector<std::uint8_t> image = SmallWave(8);
  CDirectSound player;
  EXPECT_FALSE(player.IsReady());
  EXPECT_TRUE(player.IsEnabled());
  owner = 0x5678;  // the window handle is read when the device is made
  ASSERT_TRUE(player.LoadFromMemory(image.data(), image.size(), owner));
  EXPECT_TRUE(player.IsReady());
  EXPECT_EQ(world.cooperativeWindow, 0x5678u);
  EXPECT_EQ(world.cooperativeLevel, 1u);

  EXPECT_EQ(world.description.size, 36u);
  EXPECT_EQ(world.description.flags, 0x2u);
  EXPECT_EQ(world.description.bufferBytes, 8u);
  // The 16-byte "fmt " content unchanged, then a zero cbSize the chunk does not have.
  ASSERT_EQ(world.formatSeen.size(), 18u);
  EXPECT_TRUE(std::equal(image.begin() + 20, image.begin() + 36, world.formatSeen.begin()));
  EXPECT_EQ(world.formatSeen[16], 0);
  EXPECT_EQ(world.formatSeen[17], 0);

  ASSERT_NE(world.lastMemory, nullptr);
  EXPECT_EQ(*world.lastMemory, std::vector<std::uint8_t>(image.begin() + 44, image.end()));
  EXPECT_EQ(world.calls, (std::vector<std::string>{"Lock", "Unlock"}));
}

TEST_F(PlayerTest, FormatCbSizeBeyondTheChunkIsPaddedNotReadFromTheImage) {
  std::vector<std::uint8_t> format = WaveImage::PcmFormat(20);
  format[16] = 30;  // claims 30 extra bytes, the chunk holds 2
  const std::vector<std::uint8_t> image = WaveImage().Chunk("data", 8).ChunkWithContent("fmt ", format).Bytes();
  CDirectSound player;
  ASSERT_TRUE(player.LoadFromMemory(image.data(), image.size(), owner));
  ASSERT_EQ(world.formatSeen.size(), 18u + 30u);
  EXPECT_TRUE(std::equal(format.begin(), format.end(), world.formatSeen.begin()));
  EXPECT_TRUE(std::all_of(world.formatSeen.begin() + 20, world.formatSeen.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(PlayerTest, SeventeenByteFmtCarriesHalfACbSize) {
  std::vector<std::uint8_t> format = WaveImage::PcmFormat(17);
  format[16] = 5;
  const std::vector<std::uint8_t> image = WaveImage().ChunkWithContent("fmt ", format).Chunk("data", 8).Bytes();
  CDirectSound player;
  ASSERT_TRUE(player.LoadFromMemory(image.data(), image.size(), owner));
  ASSERT_EQ(world.formatSeen.size(), 18u + 5u);
  EXPECT_TRUE(std::equal(format.begin(), format.end(), world.formatSeen.begin()));
  EXPECT_TRUE(std::all_of(world.formatSeen.begin() + 17, world.formatSeen.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(PlayerTest, FailedLoadsLeaveThePlayerEmpty) {
  CDirectSound player;
  const std::vector<std::uint8_t> truncated = WaveImage().ChunkWithContent("fmt ", WaveImage::PcmFormat(16)).Chunk("data", 8).CutTo(48).Bytes();
  EXPECT_FALSE(player.LoadFromMemory(truncated.data(), truncated.size(), owner));
  EXPECT_FALSE(player.IsReady());
  EXPECT_EQ(world.buffersAlive, 0);

  const std::vector<std::uint8_t> image = SmallWave();
  world.createBufferResult = DSERR_BADFORMAT;
  EXPECT_FALSE(player.LoadFromMemory(image.data(), image.size(), owner));
  EXPECT_FALSE(player.IsReady());
  EXPECT_EQ(player.Play(0, false), DS_OK);
  EXPECT_TRUE(world.calls.empty());

  // A data chunk of size 0 parses, but there is nothing to play.
  world.createBufferResult = DS_OK;
  const std::vector<std::uint8_t> silent = SmallWave(0);
  player.LoadFromMemory(silent.data(), silent.size(), owner);
  EXPECT_FALSE(player.IsReady());
}

TEST_F(PlayerTest, SecondLoadReleasesTheFirstBuffer) {
  const std::vector<std::uint8_t> first = SmallWave(8);
  const std::vector<std::uint8_t> second = SmallWave(12);
  CDirectSound player;
  ASSERT_TRUE(player.LoadFromMemory(first.data(), first.size(), owner));
  ASSERT_TRUE(player.LoadFromMemory(second.data(), second.size(), owner));
  EXPECT_EQ(world.buffersAlive, 1);
  EXPECT_EQ(world.attempts, 1);
  EXPECT_EQ(world.lastMemory->size(), 12u);

  EXPECT_FALSE(player.LoadFromMemory(first.data(), 20, owner));
  EXPECT_EQ(world.buffersAlive, 0);
  EXPECT_FALSE(player.IsReady());
}

TEST_F(PlayerTest, PlayersShareOneDeviceUntilTheLastGoes) {
  const std::vector<std::uint8_t> image = SmallWave();
  auto first = std::make_unique<CDirectSound>();
  ASSERT_TRUE(first->LoadFromMemory(image.data(), image.size(), owner));
  SoundDevice* shared = CDirectSound::Device();
  ASSERT_NE(shared, nullptr);

  // A player made while another holds the device takes it over rather than dropping it.
  auto second = std::make_unique<CDirectSound>();
  EXPECT_EQ(CDirectSound::Device(), shared);
  ASSERT_TRUE(second->LoadFromMemory(image.data(), image.size(), owner));
  EXPECT_EQ(world.attempts, 1);
  EXPECT_EQ(world.devicesAlive, 1);
  EXPECT_EQ(CDirectSound::InstanceCount(), 2);

  first.reset();
  EXPECT_EQ(world.devicesAlive, 1);
  EXPECT_TRUE(second->IsReady());
  second.reset();
  EXPECT_EQ(world.devicesAlive, 0);
  EXPECT_EQ(CDirectSound::Device(), nullptr);

  // The next load after that makes a new device.
  CDirectSound third;
  ASSERT_TRUE(third.LoadFromMemory(image.data(), image.size(), owner));
  EXPECT_EQ(world.attempts, 2);
}

struct PlayCase {
  std::string name;
  std::uint32_t start;
  bool loop;
  std::vector<std::string> calls;
};

std::ostream& operator<<(std::ostream& out, const PlayCase& c) { return out << c.name; }

class PlayTest : public PlayerTest, public ::testing::WithParamInterface<PlayCase> {};

TEST_P(PlayTest, SetsThePositionThenPlays) {
  const PlayCase& c = GetParam();
  const std::vector<std::uint8_t> image = SmallWave(8);
  CDirectSound player;
  ASSERT_TRUE(player.LoadFromMemory(image.data(), image.size(), owner));
  world.calls.clear();
  EXPECT_EQ(player.Play(c.start, c.loop), DS_OK);
  EXPECT_EQ(world.calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, PlayTest,
    ::testing::Values(PlayCase{"FromTheStart", 0, false, {"SetCurrentPosition(0)", "Play(0)"}},
                      PlayCase{"Looping", 4, true, {"SetCurrentPosition(4)", "Play(1)"}},
                      PlayCase{"AtTheEnd", 8, false, {"SetCurrentPosition(8)", "Play(0)"}},
                      PlayCase{"PastTheEndIsClamped", 9, true, {"SetCurrentPosition(8)", "Play(1)"}},
                      PlayCase{"FarPastTheEndIsClamped", 0xFFFFFFFF, false, {"SetCurrentPosition(8)", "Play(0)"}}),
    [](const ::testing::TestParamInfo<PlayCase>& info) { return info.param.name; });

TEST_F(PlayerTest, StopPauseAndResumeKeepThePosition) {
  const std::vector<std::uint8_t> image = SmallWave(8);
  CDirectSound player;
  EXPECT_EQ(player.Stop(), DS_OK);
  EXPECT_EQ(player.Resume(), DS_OK);
  EXPECT_TRUE(world.calls.empty()) << "an empty player touches nothing";

  ASSERT_TRUE(player.LoadFromMemory(image.data(), image.size(), owner));
  world.calls.clear();
  player.Play(2, true);
  EXPECT_EQ(player.Stop(), DS_OK);
  EXPECT_EQ(player.Pause(), DS_OK);
  world.playCursor = 6;
  EXPECT_EQ(player.Resume(), DS_OK);
  EXPECT_EQ(world.calls, (std::vector<std::string>{"SetCurrentPosition(2)", "Play(1)", "Stop", "Stop",
                                                   "GetCurrentPosition", "SetCurrentPosition(6)", "Play(0)"}));
}

TEST_F(PlayerTest, LostBufferIsRestoredWhenFilled) {
  const std::vector<std::uint8_t> image = SmallWave(8);
  world.createLost = true;
  CDirectSound player;
  ASSERT_TRUE(player.LoadFromMemory(image.data(), image.size(), owner));
  EXPECT_EQ(world.calls, (std::vector<std::string>{"Lock", "Restore", "Lock", "Unlock"}));
  EXPECT_EQ(*world.lastMemory, std::vector<std::uint8_t>(image.begin() + 44, image.end()));
}

TEST_F(PlayerTest, BufferThatStaysLostFailsTheLoad) {
  const std::vector<std::uint8_t> image = SmallWave(8);
  world.createLost = true;
  world.restoreFails = true;
  CDirectSound player;
  EXPECT_FALSE(player.LoadFromMemory(image.data(), image.size(), owner));
  EXPECT_EQ(world.calls, (std::vector<std::string>{"Lock", "Restore", "Lock"}));
}

TEST_F(PlayerTest, BufferLostBeforePlayIsRefilledAndPlayedOnce) {
  const std::vector<std::uint8_t> image = SmallWave(8);
  CDirectSound player;
  ASSERT_TRUE(player.LoadFromMemory(image.data(), image.size(), owner));
  world.calls.clear();
  *world.lastLost = true;
  EXPECT_EQ(player.Play(3, true), DS_OK);
  EXPECT_EQ(world.calls, (std::vector<std::string>{"SetCurrentPosition(3)", "Play(1)", "Lock", "Restore", "Lock",
                                                   "Unlock", "Play(1)"}));
  EXPECT_EQ(*world.lastMemory, std::vector<std::uint8_t>(image.begin() + 44, image.end()));

  // When the buffer cannot be brought back, the second play's result is what the caller sees.
  world.calls.clear();
  world.restoreFails = true;
  *world.lastLost = true;
  EXPECT_EQ(player.Play(0, false), DSERR_BUFFERLOST);
  EXPECT_EQ(std::count(world.calls.begin(), world.calls.end(), "Play(0)"), 2);
}

TEST_F(PlayerTest, FillCopiesNoMoreThanItIsGiven) {
  const std::vector<std::uint8_t> image = SmallWave(8);
  CDirectSound player;
  ASSERT_TRUE(player.LoadFromMemory(image.data(), image.size(), owner));
  const std::uint8_t three[3] = {1, 2, 3};
  ASSERT_TRUE(player.FillBuffer(three, 3));
  EXPECT_EQ(*world.lastMemory, (std::vector<std::uint8_t>{1, 2, 3, 0, 0, 0, 0, 0}));
}

TEST_F(PlayerTest, LoadsWaveResourcesByIdAndByName) {
  platform::ResourceData file;
  ASSERT_TRUE(platform::FindResourceData(950, "WAVE", &file));
  CDirectSound player;
  ASSERT_TRUE(player.Load(950, owner));
  // The test tone: LIST (odd, padded) first, "fmt " at 44, 4000 bytes of data at 76.
  EXPECT_EQ(world.description.bufferBytes, 4000u);
  EXPECT_EQ(world.formatSeen[0], 1);   // PCM
  EXPECT_EQ(world.formatSeen[14], 16);  // bits
  EXPECT_EQ(*world.lastMemory, std::vector<std::uint8_t>(file.bytes + 76, file.bytes + 76 + 4000));

  CDirectSound byName;
  EXPECT_TRUE(byName.Load("#950", owner));
  CDirectSound others;
  EXPECT_FALSE(others.Load(951, owner));
  EXPECT_FALSE(others.Load("#951", owner));
  EXPECT_FALSE(others.Load("#95x", owner));
  EXPECT_FALSE(others.Load("#", owner));
  EXPECT_FALSE(others.Load("NOSUCHSOUND", owner));
  EXPECT_FALSE(others.Load(static_cast<const char*>(nullptr), owner));
  EXPECT_FALSE(others.IsReady());
}

}  // namespace
