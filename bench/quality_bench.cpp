// Image quality of a reduced picture against its source, for the palette
// refinement benchmark (bench/refine_bench.sh):
//
//   quality_bench SOURCE RESULT      prints "PSNR_DB SSIM"
//
// PSNR is over the colour channels of every pixel; where either picture has
// alpha below 255 it compares premultiplied colour plus alpha, so an error
// under a transparent pixel weighs as little as it shows. SSIM is the mean
// over 8 x 8 windows (every 4 pixels) of the luma (premultiplied likewise).
#include <cmath>
#include <cstdio>
#include <vector>

#include "image/image_info.h"

using namespace mevra;

namespace {

struct plane {
    int width = 0, height = 0;
    std::vector<double> luma;
};

bool load(const char* path, image_info& img) {
    img = image_info(path);
    if (img.flag == 0) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return false;
    }
    img.image_to_argb();
    return !img.argb_buff.empty();
}

// Channel c (0 alpha, 1 red, 2 green, 3 blue) of a pixel, colours premultiplied.
double channel(uint32_t argb, int c, bool premultiply) {
    const double a = (argb >> 24) & 0xFF;
    const double v = (argb >> (24 - 8 * c)) & 0xFF;
    return c == 0 || !premultiply ? v : v * a / 255.0;
}

double psnr(const image_info& x, const image_info& y, bool with_alpha) {
    double sum = 0.0;
    for (size_t p = 0; p < x.argb_buff.size(); ++p)
        for (int c = with_alpha ? 0 : 1; c < 4; ++c) {
            const double d =
                channel(x.argb_buff[p], c, with_alpha) - channel(y.argb_buff[p], c, with_alpha);
            sum += d * d;
        }
    const double mse = sum / (static_cast<double>(x.argb_buff.size()) * (with_alpha ? 4 : 3));
    return mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

plane luma_of(const image_info& img, bool with_alpha) {
    plane out{img.width, img.height, std::vector<double>(img.argb_buff.size())};
    for (size_t p = 0; p < img.argb_buff.size(); ++p) {
        const uint32_t c = img.argb_buff[p];
        out.luma[p] = 0.299 * channel(c, 1, with_alpha) + 0.587 * channel(c, 2, with_alpha) +
                      0.114 * channel(c, 3, with_alpha);
    }
    return out;
}

double ssim(const plane& x, const plane& y) {
    constexpr int window = 8, step = 4;
    const double c1 = (0.01 * 255) * (0.01 * 255), c2 = (0.03 * 255) * (0.03 * 255);
    double total = 0.0;
    long windows = 0;
    for (int top = 0; top + window <= x.height; top += step)
        for (int left = 0; left + window <= x.width; left += step) {
            double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
            for (int v = top; v < top + window; ++v)
                for (int u = left; u < left + window; ++u) {
                    const size_t p = static_cast<size_t>(v) * x.width + u;
                    const double a = x.luma[p], b = y.luma[p];
                    sx += a, sy += b, sxx += a * a, syy += b * b, sxy += a * b;
                }
            const double n = window * window;
            const double mx = sx / n, my = sy / n;
            const double vx = sxx / n - mx * mx, vy = syy / n - my * my, cxy = sxy / n - mx * my;
            total +=
                (2 * mx * my + c1) * (2 * cxy + c2) / ((mx * mx + my * my + c1) * (vx + vy + c2));
            ++windows;
        }
    return windows == 0 ? 1.0 : total / static_cast<double>(windows);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quality_bench SOURCE RESULT\n");
        return 2;
    }
    image_info source, result;
    if (!load(argv[1], source) || !load(argv[2], result)) return 1;
    if (source.width != result.width || source.height != result.height) {
        std::fprintf(stderr, "the pictures differ in size\n");
        return 1;
    }
    bool with_alpha = false;
    for (size_t p = 0; p < source.argb_buff.size() && !with_alpha; ++p)
        with_alpha = (source.argb_buff[p] >> 24) != 0xFF || (result.argb_buff[p] >> 24) != 0xFF;
    std::printf("%.2f %.4f\n", psnr(source, result, with_alpha),
                ssim(luma_of(source, with_alpha), luma_of(result, with_alpha)));
    return 0;
}
