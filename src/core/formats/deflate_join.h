#pragma once
// Joining raw deflate streams that were compressed independently, so that
// parts of one buffer can be compressed on separate threads and still form a
// single zlib stream (PNG allows only one per image).
#include <cstdint>
#include <vector>

namespace mevra::deflate_join {

// Makes a complete raw deflate stream continuable: its last block loses the
// final-block mark and an empty stored block is appended, which ends on a
// byte boundary, so that the next stream's bytes can simply follow. Walks
// the stream with zlib's block-by-block inflation to find the last block.
// Returns false (the stream unchanged) when the stream does not decode.
bool make_continuable(std::vector<uint8_t>& stream);

}  // namespace mevra::deflate_join
