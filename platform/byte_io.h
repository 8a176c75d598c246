// Reading and writing the fixed-width numbers of binary files. The reader
// walks a span and never reads past its end: a read that does not fit gives
// zero and marks the reader failed, so a parser checks Ok() once after a group
// of fields instead of every size before every read. The writer appends to a
// vector. Numbers are little-endian unless the name says Big.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::int32_t I32();
    float F32(); // the IEEE single of the four bytes, whatever they hold

    // The next `count` bytes, or an empty span (and a failed reader) when
    // fewer remain.
    std::span<const std::uint8_t> Bytes(std::uint64_t count);
    void Skip(std::uint64_t count) { Bytes(count); }
    // Moves to `offset` from the start; past the end fails the reader.
    void Seek(std::uint64_t offset);

    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return data_.size() - position_; }
    // False once any read or move went past the end.
    bool Ok() const { return ok_; }

  private:
    std::span<const std::uint8_t> data_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

class ByteWriter {
  public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void U8(std::uint8_t value) { out_.push_back(value); }
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void F32(float value);
    void U16Big(std::uint16_t value);
    void U32Big(std::uint32_t value);

    void Bytes(std::span<const std::uint8_t> bytes);
    void Text(std::string_view text); // the characters, without a length or end mark
    void Zeros(std::size_t count);

  private:
    std::vector<std::uint8_t>& out_;
};
