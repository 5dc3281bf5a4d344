#include "formats/png_filter.h"

#include <cstdlib>
#include <cstring>

namespace mevra::png {
namespace {

inline uint8_t paeth_predictor(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Sum of the bytes taken as signed values, by magnitude.
uint64_t magnitude_sum(const uint8_t* bytes, size_t n) {
    uint64_t sum = 0;
    for (size_t k = 0; k < n; ++k) {
        const int v = static_cast<int8_t>(bytes[k]);
        sum += static_cast<uint64_t>(v < 0 ? -v : v);
    }
    return sum;
}

}  // namespace

void filter_row(filter_type type, const uint8_t* row, const uint8_t* prev, size_t row_bytes,
                size_t bpp, uint8_t* out) {
    out[0] = type;
    uint8_t* f = out + 1;
    const size_t lead = bpp < row_bytes ? bpp : row_bytes;  // bytes without a left neighbour
    switch (type) {
        case filter_none:
            std::memcpy(f, row, row_bytes);
            break;
        case filter_sub:
            std::memcpy(f, row, lead);
            for (size_t k = lead; k < row_bytes; ++k)
                f[k] = static_cast<uint8_t>(row[k] - row[k - bpp]);
            break;
        case filter_up:
            for (size_t k = 0; k < row_bytes; ++k)
                f[k] = static_cast<uint8_t>(row[k] - prev[k]);
            break;
        case filter_average:
            for (size_t k = 0; k < lead; ++k)
                f[k] = static_cast<uint8_t>(row[k] - (prev[k] >> 1));
            for (size_t k = lead; k < row_bytes; ++k)
                f[k] = static_cast<uint8_t>(row[k] - ((row[k - bpp] + prev[k]) >> 1));
            break;
        case filter_paeth:
            for (size_t k = 0; k < lead; ++k)
                f[k] = static_cast<uint8_t>(row[k] - prev[k]);  // the predictor picks the byte above
            for (size_t k = lead; k < row_bytes; ++k)
                f[k] = static_cast<uint8_t>(
                    row[k] - paeth_predictor(row[k - bpp], prev[k], prev[k - bpp]));
            break;
    }
}

void filter_row_adaptive(const uint8_t* row, const uint8_t* prev, size_t row_bytes, size_t bpp,
                         uint8_t* out, uint8_t* scratch) {
    uint64_t best = UINT64_MAX;
    for (int t = filter_none; t <= filter_paeth; ++t) {
        filter_row(static_cast<filter_type>(t), row, prev, row_bytes, bpp, scratch);
        const uint64_t sum = magnitude_sum(scratch + 1, row_bytes);
        if (sum < best) {
            best = sum;
            std::memcpy(out, scratch, row_bytes + 1);
        }
    }
}

bool unfilter_row(uint8_t* row, const uint8_t* prev, size_t row_bytes, size_t bpp) {
    uint8_t* r = row + 1;
    const size_t lead = bpp < row_bytes ? bpp : row_bytes;
    switch (row[0]) {
        case filter_none:
            return true;
        case filter_sub:
            for (size_t k = lead; k < row_bytes; ++k)
                r[k] = static_cast<uint8_t>(r[k] + r[k - bpp]);
            return true;
        case filter_up:
            for (size_t k = 0; k < row_bytes; ++k)
                r[k] = static_cast<uint8_t>(r[k] + prev[k]);
            return true;
        case filter_average:
            for (size_t k = 0; k < lead; ++k)
                r[k] = static_cast<uint8_t>(r[k] + (prev[k] >> 1));
            for (size_t k = lead; k < row_bytes; ++k)
                r[k] = static_cast<uint8_t>(r[k] + ((r[k - bpp] + prev[k]) >> 1));
            return true;
        case filter_paeth:
            for (size_t k = 0; k < lead; ++k)
                r[k] = static_cast<uint8_t>(r[k] + prev[k]);
            for (size_t k = lead; k < row_bytes; ++k)
                r[k] = static_cast<uint8_t>(
                    r[k] + paeth_predictor(r[k - bpp], prev[k], prev[k - bpp]));
            return true;
        default:
            return false;
    }
}

}  // namespace mevra::png
