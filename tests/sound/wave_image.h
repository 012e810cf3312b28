// Builds RIFF WAVE images chunk by chunk, including broken ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class WaveImage {
 public:
  // Starts "RIFF" <length> "WAVE"; the length is filled in by Bytes() unless forced.
  WaveImage() { Append("RIFF"); U32(0); Append("WAVE"); }

  // A chunk with `size` content bytes (a recognisable pattern) and its pad byte when odd.
  WaveImage& Chunk(const std::string& type, std::uint32_t size, bool pad = true) {
    return ChunkWithContent(type, Pattern(size), pad);
  }
  WaveImage& ChunkWithContent(const std::string& type, const std::vector<std::uint8_t>& content, bool pad = true) {
    Append(type);
    U32(static_cast<std::uint32_t>(content.size()));
    bytes_.insert(bytes_.end(), content.begin(), content.end());
    if (pad && content.size() % 2 == 1) bytes_.push_back(0);
    return *this;
  }
  // A chunk header whose size field is `claimed`, followed by only `present` bytes.
  WaveImage& LyingChunk(const std::string& type, std::uint32_t claimed, std::uint32_t present) {
    Append(type);
    U32(claimed);
    const std::vector<std::uint8_t> content = Pattern(present);
    bytes_.insert(bytes_.end(), content.begin(), content.end());
    return *this;
  }
  WaveImage& Raw(const std::vector<std::uint8_t>& raw) {
    bytes_.insert(bytes_.end(), raw.begin(), raw.end());
    return *this;
  }
  WaveImage& RiffLength(std::uint32_t length) {
    forcedLength_ = length;
    hasForcedLength_ = true;
    return *this;
  }
  WaveImage& CutTo(std::size_t size) {
    cut_ = size;
    return *this;
  }

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out = bytes_;
    const std::uint32_t length = hasForcedLength_ ? forcedLength_ : static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    if (cut_ < out.size()) out.resize(cut_);
    return out;
  }

  // 16-bit mono PCM at 8000 Hz, `size` bytes of "fmt " content (14, 16 or 18 and more).
  static std::vector<std::uint8_t> PcmFormat(std::uint32_t size, std::uint16_t channels = 1,
                                             std::uint16_t bits = 16, std::uint32_t rate = 8000) {
    const std::uint16_t block = static_cast<std::uint16_t>(channels * bits / 8);
    std::vector<std::uint8_t> f;
    auto u16 = [&f](std::uint32_t v) { f.push_back(v & 0xFF); f.push_back((v >> 8) & 0xFF); };
    u16(1);
    u16(channels);
    u16(rate & 0xFFFF);
    u16(rate >> 16);
    u16((rate * block) & 0xFFFF);
    u16((rate * block) >> 16);
    u16(block);
    u16(bits);
    u16(size > 18 ? size - 18 : 0);  // cbSize
    f.resize(size, 0xEE);
    return f;
  }

  static std::vector<std::uint8_t> Pattern(std::uint32_t size) {
    std::vector<std::uint8_t> p(size);
    for (std::uint32_t i = 0; i < size; ++i) p[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return p;
  }

 private:
  // Byte by byte: GCC 12 at -O3 reports a false overflow for a range insert here.
  void Append(const std::string& s) {
    for (char c : s) bytes_.push_back(static_cast<std::uint8_t>(c));
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }

  std::vector<std::uint8_t> bytes_;
  std::uint32_t forcedLength_ = 0;
  bool hasForcedLength_ = false;
  std::size_t cut_ = SIZE_MAX;
};
