#pragma once
// Bit output for LZX: fields are written most significant bit first and packed
// into 16-bit words that are stored little-endian.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace hhc::lzx {

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    // Appends the low `count` bits of `value` (count <= 32).
    void Write(std::uint32_t value, unsigned count) {
        buffer_ = (buffer_ << count) | (value & ((std::uint64_t{1} << count) - 1));
        pending_ += count;
        while (pending_ >= 16) {
            pending_ -= 16;
            PutWord(static_cast<std::uint16_t>(buffer_ >> pending_));
        }
    }

    // Completes the current 16-bit word with zero bits; nothing when aligned.
    void AlignToWord() {
        if (pending_ != 0) Write(0, 16 - pending_);
    }

    bool Aligned() const { return pending_ == 0; }

    // Raw bytes after an aligned point (uncompressed block contents).
    void WriteBytes(const std::uint8_t* data, std::size_t size) {
        out_.insert(out_.end(), data, data + size);
    }
    void WriteUint32LE(std::uint32_t v) {
        const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        WriteBytes(b, 4);
    }

    std::size_t ByteSize() const { return out_.size(); }

private:
    void PutWord(std::uint16_t word) {
        out_.push_back(static_cast<std::uint8_t>(word));
        out_.push_back(static_cast<std::uint8_t>(word >> 8));
    }

    std::vector<std::uint8_t>& out_;
    std::uint64_t buffer_ = 0;
    unsigned pending_ = 0;
};

}  // namespace hhc::lzx
