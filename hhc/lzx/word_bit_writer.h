#pragma once
// Bit output for LZX: fields are written most significant bit first and packed
// into 16-bit words that are stored little-endian, so the first bits of a
// word land in its second byte. (The search index's ByteBitWriter fills
// bytes in order instead.)
#include <cstddef>
#include <cstdint>
#include <vector>

namespace hhc::lzx {

class WordBitWriter {
public:
    explicit WordBitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    // Appends the low `count` bits of `value` (count <= 32).
    void Write(std::uint32_t value, unsigned count) {
        buffer_ = (buffer_ << count) | (value & ((std::uint64_t{1} << count) - 1));
        pending_ += count;
        if (pending_ >= 32) {
            pending_ -= 32;
            PutWords(static_cast<std::uint32_t>(buffer_ >> pending_));
        }
    }

    // Completes the current 16-bit word with zero bits (nothing when the bits
    // written so far fill whole words) and flushes every complete word.
    void AlignToWord() {
        if (pending_ % 16 != 0) Write(0, 16 - pending_ % 16);
        if (pending_ == 16) {
            PutWord(static_cast<std::uint16_t>(buffer_));
            pending_ = 0;
        }
    }

    // True when the bits written so far fill whole 16-bit words.
    bool Aligned() const { return pending_ % 16 == 0; }

    // Raw bytes at a word boundary (uncompressed block contents).
    void WriteBytes(const std::uint8_t* data, std::size_t size) {
        AlignToWord();
        out_.insert(out_.end(), data, data + size);
    }
    void WriteUint32LE(std::uint32_t v) {
        const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        WriteBytes(b, 4);
    }

private:
    void PutWord(std::uint16_t word) {
        const std::uint8_t b[2] = {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8)};
        out_.insert(out_.end(), b, b + 2);
    }
    // Two words, the first in the high half.
    void PutWords(std::uint32_t words) {
        const std::uint8_t b[4] = {static_cast<std::uint8_t>(words >> 16), static_cast<std::uint8_t>(words >> 24),
                                   static_cast<std::uint8_t>(words), static_cast<std::uint8_t>(words >> 8)};
        out_.insert(out_.end(), b, b + 4);
    }

    std::vector<std::uint8_t>& out_;
    std::uint64_t buffer_ = 0;
    unsigned pending_ = 0;  // bits in `buffer_` not yet written to `out_`, < 32
};

}  // namespace hhc::lzx
