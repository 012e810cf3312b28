#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sound/direct_sound.h"
#include "wave_image.h"

namespace {

constexpr long kNone = -1;

struct ParseCase {
  std::string name;
  std::vector<std::uint8_t> image;
  bool ok;
  long formatOffset = kNone;  // where the outputs must point into the image
  std::uint32_t formatSize = 0;
  long dataOffset = kNone;
  std::uint32_t dataSize = 0;
};

std::ostream& operator<<(std::ostream& out, const ParseCase& c) { return out << c.name; }

using W = WaveImage;
const auto fmt16 = W::PcmFormat(16);

std::vector<ParseCase> Cases() {
  return {
      // Format chunk sizes.
      {"Fmt16ThenData", W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).Bytes(), true, 20, 16, 44, 8},
      {"Fmt14IsEnough", W().ChunkWithContent("fmt ", W::PcmFormat(14)).Chunk("data", 8).Bytes(), true, 20, 14, 42, 8},
      {"Fmt13IsTooShort", W().ChunkWithContent("fmt ", W::PcmFormat(13)).Chunk("data", 8).Bytes(), false},
      {"Fmt18WithCbSize", W().ChunkWithContent("fmt ", W::PcmFormat(18)).Chunk("data", 8).Bytes(), true, 20, 18, 46, 8},
      // Odd chunks and their pad byte.
      {"OddListThenPadByte", W().Chunk("LIST", 3).ChunkWithContent("fmt ", fmt16).Chunk("data", 8).Bytes(), true, 32, 16, 56, 8},
      {"OddChunkWithoutPadMisreadsTheRest",
       W().Chunk("LIST", 3, false).ChunkWithContent("fmt ", fmt16).Chunk("data", 8).Bytes(), false},
      {"OddDataBeforeFmt", W().Chunk("data", 5).ChunkWithContent("fmt ", fmt16).Bytes(), true, 34, 16, 20, 5},
      {"OddDataLastWithoutPad", W().ChunkWithContent("fmt ", fmt16).Chunk("data", 5, false).Bytes(), true, 20, 16, 44, 5},
      {"UnknownChunksSkipped",
       W().ChunkWithContent("fmt ", fmt16).Chunk("fact", 4).Chunk("cue ", 7).Chunk("data", 8).Bytes(), true, 20, 16, 72, 8},
      // Order of "data" and "fmt ".
      {"DataBeforeFmt", W().Chunk("data", 8).ChunkWithContent("fmt ", fmt16).Bytes(), true, 36, 16, 20, 8},
      {"LastDataBeforeFmtWins",
       W().Chunk("data", 4).Chunk("data", 6).ChunkWithContent("fmt ", fmt16).Bytes(), true, 46, 16, 32, 6},
      {"FirstDataAfterFmtWins",
       W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).Chunk("data", 4).Bytes(), true, 20, 16, 44, 8},
      {"EmptyDataBeforeFmtFails", W().Chunk("data", 0).ChunkWithContent("fmt ", fmt16).Bytes(), false},
      {"EmptyDataBeforeFmtThenRealData",
       W().Chunk("data", 0).ChunkWithContent("fmt ", fmt16).Chunk("data", 4).Bytes(), true, 28, 16, 52, 4},
      {"EmptyDataAfterFmtIsFound", W().ChunkWithContent("fmt ", fmt16).Chunk("data", 0).Bytes(), true, 20, 16, 44, 0},
      {"LaterFmtSkipped",
       W().ChunkWithContent("fmt ", fmt16).ChunkWithContent("fmt ", W::PcmFormat(13)).Chunk("data", 8).Bytes(), true, 20, 16, 66, 8},
      {"OnlyFmt", W().ChunkWithContent("fmt ", fmt16).Bytes(), false},
      {"OnlyData", W().Chunk("data", 8).Bytes(), false},
      {"NoChunks", W().Bytes(), false},
      // Header.
      {"NotRiff", [] { auto b = W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).Bytes(); b[3] = 'X'; return b; }(), false},
      {"NotWave", [] { auto b = W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).Bytes(); b[8] = 'A'; return b; }(), false},
      {"ElevenBytes", W().CutTo(11).Bytes(), false},
      {"Empty", {}, false},
      // The RIFF length.
      {"RiffLengthEndsInsideFmt", W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).RiffLength(4 + 10).Bytes(), false},
      {"DataStartingAtRiffEndIsNotRead", W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).RiffLength(4 + 24).Bytes(), false},
      {"DataStartingJustBeforeRiffEndIsRead",
       W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).RiffLength(4 + 25).Bytes(), true, 20, 16, 44, 8},
      {"RiffLengthPastImageIsBoundedByIt",
       W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).RiffLength(0xFFFFFFFF).Bytes(), true, 20, 16, 44, 8},
      {"RiffLengthPastImageAndNoData", W().ChunkWithContent("fmt ", fmt16).RiffLength(0xFFFFFFF0).Bytes(), false},
      // Truncated images.
      {"CutInsideData", W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).CutTo(48).Bytes(), false},
      {"CutInsideDataHeader", W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).CutTo(40).Bytes(), false},
      {"CutInsideFmt", W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).CutTo(30).Bytes(), false},
      {"CutInsideChunkBeforeFmt", W().Chunk("LIST", 40).ChunkWithContent("fmt ", fmt16).Chunk("data", 8).CutTo(30).Bytes(), false},
      {"CutAfterCompleteChunks",
       W().ChunkWithContent("fmt ", fmt16).Chunk("data", 8).Chunk("LIST", 30).CutTo(60).Bytes(), true, 20, 16, 44, 8},
      {"TypeOnlyAtTheEnd", W().ChunkWithContent("fmt ", fmt16).Raw({'d', 'a', 't', 'a'}).Bytes(), false},
      // Sizes that lie.
      {"ListClaimsEverything", W().LyingChunk("LIST", 0xFFFFFFFF, 8).ChunkWithContent("fmt ", fmt16).Chunk("data", 8).Bytes(), false},
      {"FmtClaimsMoreThanThereIs", W().LyingChunk("fmt ", 1000, 16).Bytes(), false},
      {"DataClaimsOneByteMore", W().ChunkWithContent("fmt ", fmt16).LyingChunk("data", 9, 8).Bytes(), false},
      {"DataSizeWrapsA32BitOffset", W().ChunkWithContent("fmt ", fmt16).LyingChunk("data", 0xFFFFFFF8, 8).Bytes(), false},
      {"SkippedChunkSizeWrapsA32BitOffset",
       W().LyingChunk("JUNK", 0xFFFFFFF4, 0).ChunkWithContent("fmt ", fmt16).Chunk("data", 8).Bytes(), false},
  };
}

class ParseWaveTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseWaveTest, FindsTheChunksInsideTheImage) {
  const ParseCase& c = GetParam();
  // A copy of exactly the image's size: any read past it is caught by ASan.
  std::vector<std::uint8_t> image(c.image);
  const std::uint8_t* format = reinterpret_cast<const std::uint8_t*>(1);
  const std::uint8_t* data = reinterpret_cast<const std::uint8_t*>(1);
  std::uint32_t formatSize = 99;
  std::uint32_t dataSize = 99;
  const bool ok = CDirectSound::ParseWave(image.empty() ? nullptr : image.data(), image.size(), &format,
                                          &formatSize, &data, &dataSize);
  ASSERT_EQ(ok, c.ok);
  if (!ok) {
    EXPECT_EQ(format, nullptr);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(formatSize, 0u);
    EXPECT_EQ(dataSize, 0u);
    return;
  }
  EXPECT_EQ(format - image.data(), c.formatOffset);
  EXPECT_EQ(formatSize, c.formatSize);
  EXPECT_EQ(data - image.data(), c.dataOffset);
  EXPECT_EQ(dataSize, c.dataSize);
}

INSTANTIATE_TEST_SUITE_P(Images, ParseWaveTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

}  // namespace
