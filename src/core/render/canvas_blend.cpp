// Four pixels at a time with SSE2 (every x86-64 processor has it); the scalar
// reference handles the tail and other processors. Channels are widened to
// 16 bits, where every product of two 8-bit values and every sum
// a * s + (255 - a) * d fits, and divided by 255 with rounding by
// ((n + 128) + ((n + 128) >> 8)) >> 8, which equals (n + 127) / 255 for all
// n <= 65025.
#include "render/canvas_blend.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mevra::render_detail {

uint32_t blend_pixel(int draw_type, uint32_t src, uint32_t dst) {
    if (draw_type == 1 || draw_type == 2) return src | 0xFF000000u;
    const uint32_t a = src >> 24;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t s = src >> shift & 0xFFu;
        const uint32_t d = dst >> shift & 0xFFu;
        uint32_t v;
        if (draw_type == 3)
            v = std::min(255u, div255(s * s) + d);
        else if (draw_type == 4)
            v = div255(d * (255 - s));
        else
            v = div255(s * a + d * (255 - a));
        out |= v << shift;
    }
    return out;
}

#if defined(__SSE2__)
namespace {

inline __m128i div255_epu16(__m128i n) {
    const __m128i t = _mm_add_epi16(n, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// One half (two pixels, 16-bit channels) of a four-pixel blend.
template <int draw_type>
inline __m128i blend_half(__m128i s, __m128i d) {
    const __m128i full = _mm_set1_epi16(255);
    if constexpr (draw_type == 3) {
        return div255_epu16(_mm_mullo_epi16(s, s));
    } else if constexpr (draw_type == 4) {
        return div255_epu16(_mm_mullo_epi16(d, _mm_sub_epi16(full, s)));
    } else {
        const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
        return div255_epu16(
            _mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, _mm_sub_epi16(full, a))));
    }
}

template <int draw_type>
inline __m128i blend4(__m128i s, __m128i d) {
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    if constexpr (draw_type == 1 || draw_type == 2) {
        return _mm_or_si128(s, opaque);
    } else {
        const __m128i z = _mm_setzero_si128();
        const __m128i lo = blend_half<draw_type>(_mm_unpacklo_epi8(s, z), _mm_unpacklo_epi8(d, z));
        const __m128i hi = blend_half<draw_type>(_mm_unpackhi_epi8(s, z), _mm_unpackhi_epi8(d, z));
        __m128i v = _mm_packus_epi16(lo, hi);
        if constexpr (draw_type == 3) v = _mm_adds_epu8(v, d);
        return _mm_or_si128(v, opaque);
    }
}

template <int draw_type>
int blend_row_sse2(const uint32_t* src, const uint32_t* dst, uint32_t* out, int n) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), blend4<draw_type>(s, d));
    }
    return i;
}

template <int draw_type>
int blend_span_sse2(uint32_t colour, uint32_t* out, int n) {
    const __m128i s = _mm_set1_epi32(static_cast<int>(colour));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), blend4<draw_type>(s, d));
    }
    return i;
}

}  // namespace
#endif

void blend_row(int draw_type, const uint32_t* src, const uint32_t* dst, uint32_t* out, int n) {
    int done = 0;
#if defined(__SSE2__)
    switch (draw_type) {
        case 1:
        case 2:
            done = blend_row_sse2<1>(src, dst, out, n);
            break;
        case 3:
            done = blend_row_sse2<3>(src, dst, out, n);
            break;
        case 4:
            done = blend_row_sse2<4>(src, dst, out, n);
            break;
        default:
            done = blend_row_sse2<0>(src, dst, out, n);
            break;
    }
#endif
    for (int i = done; i < n; ++i)
        out[i] = blend_pixel(draw_type, src[i], dst[i]);
}

void blend_span(int draw_type, uint32_t colour, uint32_t* out, int n) {
    int done = 0;
#if defined(__SSE2__)
    switch (draw_type) {
        case 1:
        case 2:
            done = blend_span_sse2<1>(colour, out, n);
            break;
        case 3:
            done = blend_span_sse2<3>(colour, out, n);
            break;
        case 4:
            done = blend_span_sse2<4>(colour, out, n);
            break;
        default:
            done = blend_span_sse2<0>(colour, out, n);
            break;
    }
#endif
    for (int i = done; i < n; ++i)
        out[i] = blend_pixel(draw_type, colour, out[i]);
}

}  // namespace mevra::render_detail
