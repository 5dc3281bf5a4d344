#pragma once
// A bounded little-endian reader over bytes held in memory. Every decoder reads
// through it: a read past the end yields zeros (short files load with their
// missing bytes as 0) and never touches memory outside the buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace mevra {

class byte_reader {
  public:
    byte_reader() = default;
    explicit byte_reader(std::span<const uint8_t> bytes) : data_(bytes) {}

    size_t size() const { return data_.size(); }
    size_t tell() const { return pos_; }
    // Moves to an absolute offset; offsets past the end are allowed and read as zeros.
    void seek(size_t offset) { pos_ = offset; }
    void skip(size_t count) { pos_ = (count > SIZE_MAX - pos_) ? SIZE_MAX : pos_ + count; }
    size_t remaining() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }
    bool overran() const { return overran_; }
    std::span<const uint8_t> bytes() const { return data_; }

    uint8_t u8() {
        uint8_t v = 0;
        read(&v, 1);
        return v;
    }
    uint16_t u16le() {
        uint8_t b[2];
        read(b, 2);
        return static_cast<uint16_t>(b[0] | (b[1] << 8));
    }
    uint32_t u32le() {
        uint8_t b[4];
        read(b, 4);
        return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
               (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    }
    int32_t i32le() { return static_cast<int32_t>(u32le()); }
    int16_t i16le() { return static_cast<int16_t>(u16le()); }

    // Copies `count` bytes to `dst`; the part past the end of the data is zero-filled.
    void read(uint8_t* dst, size_t count) {
        size_t avail = remaining();
        size_t n = count < avail ? count : avail;
        if (n > 0) std::memcpy(dst, data_.data() + pos_, n);
        if (n < count) {
            std::memset(dst + n, 0, count - n);
            overran_ = true;
        }
        skip(count);
    }

  private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    bool overran_ = false;
};

}  // namespace mevra
