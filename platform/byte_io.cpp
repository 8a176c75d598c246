#include "platform/byte_io.h"

#include <bit>

std::span<const std::uint8_t> ByteReader::Bytes(std::uint64_t count) {
    if (!ok_ || count > Remaining()) {
        ok_ = false;
        return {};
    }
    const auto block = data_.subspan(position_, static_cast<std::size_t>(count));
    position_ += static_cast<std::size_t>(count);
    return block;
}

void ByteReader::Seek(std::uint64_t offset) {
    if (!ok_ || offset > data_.size()) {
        ok_ = false;
        return;
    }
    position_ = static_cast<std::size_t>(offset);
}

std::uint8_t ByteReader::U8() {
    const auto b = Bytes(1);
    return b.empty() ? 0 : b[0];
}

std::uint16_t ByteReader::U16() {
    const auto b = Bytes(2);
    return b.empty() ? 0 : static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

std::uint32_t ByteReader::U32() {
    const auto b = Bytes(4);
    if (b.empty()) return 0;
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::int32_t ByteReader::I32() {
    return static_cast<std::int32_t>(U32());
}

float ByteReader::F32() {
    return std::bit_cast<float>(U32());
}

void ByteWriter::U16(std::uint16_t value) {
    out_.push_back(static_cast<std::uint8_t>(value));
    out_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out_.push_back(static_cast<std::uint8_t>(value >> shift));
}

void ByteWriter::F32(float value) {
    U32(std::bit_cast<std::uint32_t>(value));
}

void ByteWriter::U16Big(std::uint16_t value) {
    out_.push_back(static_cast<std::uint8_t>(value >> 8));
    out_.push_back(static_cast<std::uint8_t>(value));
}

void ByteWriter::U32Big(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out_.push_back(static_cast<std::uint8_t>(value >> shift));
}

void ByteWriter::Bytes(std::span<const std::uint8_t> bytes) {
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void ByteWriter::Text(std::string_view text) {
    out_.insert(out_.end(), text.begin(), text.end());
}

void ByteWriter::Zeros(std::size_t count) {
    out_.insert(out_.end(), count, 0);
}
