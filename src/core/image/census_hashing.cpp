// The census by hashing: each thread numbers the distinct colours of its part
// of the picture in a hash table of its own and sorts them, the parts' sorted
// colours are merged into one table, and every pixel's number becomes its
// colour's rank there.
// Unlike the buckets it reads the picture front to back, which is what makes it
// fast on large photographs, and it needs no list of pixel positions.
#include <algorithm>
#include <atomic>

#include "image/color_census.h"
#include "image/radix_sort.h"
#include "platform/parallel_for.h"
#include "platform/worker_threads.h"

namespace mevra {
namespace {

// Beyond this many distinct colours in one part the hash tables of two parts
// would need about as much memory as the bucket sort's list of positions of a
// 13-megapixel picture: give up.
constexpr size_t max_part_colours = size_t{1} << 20;
constexpr size_t min_part_pixels = size_t{1} << 18;
constexpr size_t max_parts = 4;
// How often a part looks whether another one has given up.
constexpr size_t give_up_check_pixels = size_t{1} << 16;

// Distinct colours numbered in order of first appearance: open addressing,
// kept at most half full.
class colour_numbering {
  public:
    colour_numbering() { resize(12); }

    // The number of colour c, or -1 past max_part_colours.
    int32_t number(uint32_t c) {
        size_t s = home(c);
        while (slots_[s].id >= 0) {
            if (slots_[s].colour == c) return slots_[s].id;
            s = (s + 1) & mask_;
        }
        if (colours.size() >= max_part_colours) return -1;
        const auto id = static_cast<int32_t>(colours.size());
        slots_[s] = {c, id};
        colours.push_back(c);
        counts.push_back(0);
        if (colours.size() * 2 > slots_.size()) resize(bits_ + 1);
        return id;
    }

    // The slots are only needed while numbering; the colours stay.
    void release_slots() { slots_ = {}; }

    std::vector<uint32_t> colours;  // by number
    std::vector<int32_t> counts;    // by number

  private:
    struct slot {
        uint32_t colour;
        int32_t id;  // -1: free
    };

    // Fibonacci hashing: the top bits of the product mix every bit of c.
    size_t home(uint32_t c) const { return (c * 2654435761u) >> (32 - bits_); }

    void resize(int bits) {
        bits_ = bits;
        slots_.assign(size_t{1} << bits, slot{0, -1});
        mask_ = slots_.size() - 1;
        for (size_t id = 0; id < colours.size(); ++id) {
            size_t s = home(colours[id]);
            while (slots_[s].id >= 0)
                s = (s + 1) & mask_;
            slots_[s] = {colours[id], static_cast<int32_t>(id)};
        }
    }

    std::vector<slot> slots_;
    size_t mask_ = 0;
    int bits_ = 0;
};

struct census_part {
    size_t begin, end;
    colour_numbering numbering;
    std::vector<uint64_t> sorted;  // colour << 32 | number, by colour
    std::vector<int32_t> rank;     // place of each numbered colour in the merged table
};

// The part's colours with their numbers, sorted by colour.
void sort_part(census_part& part) {
    const std::vector<uint32_t>& colours = part.numbering.colours;
    part.sorted.resize(colours.size());
    for (size_t id = 0; id < colours.size(); ++id)
        part.sorted[id] = uint64_t{colours[id]} << 32 | id;
    std::vector<uint64_t> scratch;
    sort_by_high_half(part.sorted, scratch);
    part.rank.resize(colours.size());
}

// Merges the parts' sorted colours into the table of distinct colours in
// ascending order, noting each part's ranks on the way.
std::vector<uint32_t> merge_parts(std::vector<census_part>& parts) {
    std::vector<uint32_t> table;
    std::vector<size_t> head(parts.size(), 0);
    for (;;) {
        size_t next = parts.size();
        uint32_t smallest = 0;
        for (size_t k = 0; k < parts.size(); ++k) {
            if (head[k] == parts[k].sorted.size()) continue;
            const auto colour = static_cast<uint32_t>(parts[k].sorted[head[k]] >> 32);
            if (next == parts.size() || colour < smallest) {
                next = k;
                smallest = colour;
            }
        }
        if (next == parts.size()) return table;
        if (table.empty() || table.back() != smallest) table.push_back(smallest);
        census_part& part = parts[next];
        part.rank[part.sorted[head[next]++] & 0xFFFFFFFFu] = static_cast<int32_t>(table.size() - 1);
    }
}

// Numbers the part's pixels into `index`; false once a part has given up.
bool number_part(const uint32_t* argb, int32_t* index, census_part& part,
                 std::atomic<bool>& given_up) {
    colour_numbering& numbering = part.numbering;
    uint32_t last = 0;
    int32_t last_id = -1;
    for (size_t p = part.begin; p < part.end; ++p) {
        const uint32_t c = argb[p];
        // Neighbours often repeat a colour: skip the table for a run.
        if (c != last || last_id < 0) {
            last_id = numbering.number(c);
            last = c;
            if (last_id < 0) {
                given_up.store(true);
                return false;
            }
        }
        ++numbering.counts[static_cast<size_t>(last_id)];
        index[p] = last_id;
        if ((p - part.begin) % give_up_check_pixels == 0 && given_up.load()) return false;
    }
    return true;
}

// Runs job(part) for every part, one part a thread (there are no more parts
// than threads).
template <class Job>
void for_each_part(std::vector<census_part>& parts, Job job) {
    parallel_for(parts.size(), 1, [&](size_t begin, size_t end) {
        for (size_t k = begin; k < end; ++k)
            job(parts[k]);
    });
}

}  // namespace

bool census_by_hashing(const std::vector<uint32_t>& argb, std::vector<int32_t>& index,
                       colour_census& out) {
    const size_t pixels = argb.size();
    const size_t threads = size_t{worker_threads()};
    const size_t count =
        std::clamp<size_t>(pixels / min_part_pixels, 1, std::min(threads, max_parts));
    std::vector<census_part> parts(count);
    for (size_t k = 0; k < count; ++k) {
        parts[k].begin = pixels * k / count;
        parts[k].end = pixels * (k + 1) / count;
    }

    std::atomic<bool> given_up{false};
    for_each_part(parts, [&](census_part& part) {
        number_part(argb.data(), index.data(), part, given_up);
        part.numbering.release_slots();
    });
    if (given_up.load()) return false;

    for_each_part(parts, sort_part);
    std::vector<uint32_t> table = merge_parts(parts);
    for_each_part(parts, [&](census_part& part) {
        part.sorted = {};
        for (size_t p = part.begin; p < part.end; ++p)
            index[p] = part.rank[static_cast<size_t>(index[p])];
    });

    out.counts.assign(table.size(), 0);
    for (const census_part& part : parts)
        for (size_t id = 0; id < part.rank.size(); ++id)
            out.counts[static_cast<size_t>(part.rank[id])] += part.numbering.counts[id];
    out.colours = std::move(table);
    return true;
}

}  // namespace mevra
