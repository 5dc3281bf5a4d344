#pragma once
// One palette for several images: their colour censuses added together (the
// pixel counts of a colour summed over all images) and reduced once, with
// the same grouping and merging as the reduction of a single image.
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace mevra {

class image_info;

class shared_census {
  public:
    // Adds the image's colours and their pixel counts. A full-colour image is
    // brought into the census form on the way (its colour table and indices),
    // which the caller is expected to discard or reduce afterwards.
    void add(image_info& img);
    bool empty() const { return colours_.empty(); }
    size_t colour_count() const { return colours_.size(); }

    // Builds a palette of at most `target` (2 … 256) colours: the group centres
    // in the reduction's order, without the black filler a single image's
    // table gets when fewer colours remain. False when the reduction refused
    // (reported, e.g. more key colours than the target allows) or nothing was added.
    bool build_palette(int target, std::vector<uint32_t>& palette) const;

  private:
    std::unordered_map<uint32_t, uint32_t> slot_;  // colour -> position in colours_
    std::vector<uint32_t> colours_;                // first appearance over all images
    std::vector<int64_t> counts_;
};

}  // namespace mevra
