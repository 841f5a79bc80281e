#pragma once

// How a fuzz input is cut into its parts, shared by the targets and the seed maker.
//
// An input is a fixed number of option bytes (missing ones read as 0), then a sequence of
// chunks: a 4-byte little-endian length and that many bytes (cut short where the input ends).
// A chunk whose length is 0xFFFFFFFF, or one the input has no length for, is absent: the file
// it stands for is not there at all, which is not the same as an empty file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velunorh::fuzz {

inline constexpr std::uint32_t kAbsent = 0xFFFFFFFF;

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size, std::size_t optionBytes)
      : rest_(reinterpret_cast<const char*>(data), size) {
    const std::size_t n = std::min(optionBytes, rest_.size());
    options_.assign(rest_.begin(), rest_.begin() + n);
    options_.resize(optionBytes, 0);
    rest_.remove_prefix(n);
  }

  std::uint8_t Option(std::size_t i) const {
    return i < options_.size() ? static_cast<std::uint8_t>(options_[i]) : 0;
  }
  std::uint16_t Option16(std::size_t i) const {
    return static_cast<std::uint16_t>(Option(i) | (Option(i + 1) << 8));
  }

  std::optional<std::string_view> NextChunk() {
    if (rest_.size() < 4) {
      rest_ = {};
      return std::nullopt;
    }
    std::uint32_t length = 0;
    for (int i = 3; i >= 0; --i) length = (length << 8) | static_cast<std::uint8_t>(rest_[i]);
    rest_.remove_prefix(4);
    if (length == kAbsent) return std::nullopt;
    const std::size_t n = std::min<std::size_t>(length, rest_.size());
    std::string_view chunk = rest_.substr(0, n);
    rest_.remove_prefix(n);
    return chunk;
  }

 private:
  std::string options_;
  std::string_view rest_;
};

// Builds an input in the same form (for the seed maker and the tests).
class FuzzInputWriter {
 public:
  explicit FuzzInputWriter(std::vector<std::uint8_t> options) : bytes_(std::move(options)) {}

  void Chunk(std::optional<std::vector<std::uint8_t>> chunk) {
    const std::uint32_t length = chunk ? static_cast<std::uint32_t>(chunk->size()) : kAbsent;
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    if (chunk) bytes_.insert(bytes_.end(), chunk->begin(), chunk->end());
  }
  void Chunk(std::string_view text) { Chunk(std::vector<std::uint8_t>(text.begin(), text.end())); }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace velunorh::fuzz
