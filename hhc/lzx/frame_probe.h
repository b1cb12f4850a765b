#pragma once
// A quick look at a frame before it is parsed: will LZX shrink it much? Judged
// from its byte histogram and from the matches a one-probe hash table finds.
// Data such as a compressed or bit-packed file gains little from LZX, yet the
// near-optimal parse would spend as long on it as on text.
#include <cstddef>
#include <cstdint>

namespace hhc::lzx {

// Above this estimated coded size, as a fraction of the input, a frame is
// parsed greedily: the few bits the full parse would still save there are
// not worth its time.
inline constexpr double kGreedyParseThreshold = 0.85;

// True when the estimated coded size of the `size` bytes at `data` exceeds
// kGreedyParseThreshold of `size`. `data` must be readable for size + 8 bytes.
bool LooksIncompressible(const std::uint8_t* data, std::size_t size);

}  // namespace hhc::lzx
