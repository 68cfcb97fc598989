// Bounds-checked reading of the big-endian IFF data that LWO2 object files
// are made of.  Every read checks the bytes left in its range first, so a
// truncated or damaged file ends in an IffError, never in a read past the
// data; nothing is allocated from a count before the bytes behind it are
// known to exist.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace host {

// A fault found in the bytes, at a file offset.  The object reader adds the
// file and the chunk it was reading.
class IffError : public std::runtime_error {
 public:
  IffError(std::uint64_t offset, const std::string& what);
  std::uint64_t offset() const { return offset_; }

 private:
  std::uint64_t offset_;
};

// The four characters of an IFF identifier packed big-endian, as LightWave
// spells its LWID values.
constexpr std::uint32_t MakeId(const char (&text)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[3]));
}

// An identifier as text for messages; bytes that are not printable ASCII
// show as \xNN so that a damaged identifier is still readable, and the
// four spaces of LWO3's anonymous chunk as ANON.
std::string IdText(std::uint32_t id);

// A read cursor over one range of the file (the whole form, a chunk, a
// sub-chunk).  Offsets are absolute file offsets, for messages.
class IffReader {
 public:
  IffReader(const std::uint8_t* data, std::size_t size, std::uint64_t fileOffset);

  std::size_t remaining() const { return size_ - position_; }
  bool atEnd() const { return position_ == size_; }
  std::uint64_t offset() const { return fileOffset_ + position_; }

  std::uint8_t U1();
  std::uint16_t U2();
  std::uint32_t U4();
  std::uint32_t Id4() { return U4(); }
  // A float that must be finite: NaN and infinities are damage in every
  // value the host keeps.
  float F4(const char* what);
  // An 8-byte IEEE double, which must be finite too.
  double F8(const char* what);
  std::array<float, 3> Vec12(const char* what);
  // A variable-length index: two bytes, or four when the first is 0xFF.
  std::uint32_t Vx();
  // A NUL-terminated string padded to an even length.
  std::string S0();

  void Skip(std::size_t count);
  // The next `count` bytes as a range of their own; this cursor moves past.
  IffReader Take(std::size_t count);

  [[noreturn]] void Fail(const std::string& what) const;

 private:
  void Require(std::size_t count, const char* what) const;

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  std::uint64_t fileOffset_;
};

// Chunks have four-byte lengths; sub-chunks (inside SURF, BLOK, CLIP, ...)
// have two-byte ones.
enum class IffLength { kU4, kU2 };

struct IffChunk {
  std::uint32_t id = 0;
  std::uint64_t offset = 0;  // of the chunk's identifier
  IffReader body;
};

// The next chunk of `parent`, or nothing at its end.  The pad byte after an
// odd length is skipped; a missing pad at the very end of the parent is
// tolerated, since it holds no data.
std::optional<IffChunk> NextChunk(IffReader& parent, IffLength width);

}  // namespace host
