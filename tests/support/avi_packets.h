#pragma once
// Rewriting AVI files packet by packet, for tests that need streams the
// program's writer never makes (spliced, repacked or damaged ones).
#include <cstdint>
#include <string>
#include <vector>

struct AVCodecParameters;

namespace mevra::test {

struct avi_packet {
    std::vector<uint8_t> data;
    bool key = false;
};

// The video packets of an AVI file, in file order.
std::vector<avi_packet> read_avi_packets(const std::string& path);

// Writes `packets` as one video stream at consecutive positions, with the
// codec and size of `codec` at rate / scale frames per second.
void write_avi_packets(const std::string& path, const AVCodecParameters& codec, int rate,
                       int scale, const std::vector<avi_packet>& packets);

// The same with the codec, size and rate of `like`'s stream; `extradata`
// replaces its extra data when given.
void write_avi_packets(const std::string& path, const std::string& like,
                       const std::vector<avi_packet>& packets,
                       const std::vector<uint8_t>* extradata = nullptr);

}  // namespace mevra::test
