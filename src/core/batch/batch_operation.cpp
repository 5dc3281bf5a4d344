#include "batch/batch_operation.h"

#include <cctype>
#include <charconv>

#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "reduce/palette_mapping.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

struct operation_names {
    const char* name;
    const char* text;
};

constexpr operation_names names[batch_operation_count] = {
    {"save", MEVRA_TEXT_NOOP("batch_operation", "何もしない（保存のみ）")},
    {"reduce", MEVRA_TEXT_NOOP("batch_operation", "감색")},
    {"resize", MEVRA_TEXT_NOOP("batch_operation", "사이즈변경")},
    {"scale", MEVRA_TEXT_NOOP("batch_operation", "拡大縮小")},
    {"rotate-right", MEVRA_TEXT_NOOP("batch_operation", "우로 90°회전 ")},
    {"rotate-left", MEVRA_TEXT_NOOP("batch_operation", "좌로 90°회전 ")},
    {"flip", MEVRA_TEXT_NOOP("batch_operation", "상하 180°반전")},
    {"mirror", MEVRA_TEXT_NOOP("batch_operation", "좌우 180°반전")},
    {"to-argb", MEVRA_TEXT_NOOP("batch_operation", "ARGB 포맷으로 변환 ")},
    {"luma-to-alpha", MEVRA_TEXT_NOOP("batch_operation", "휘도를 알파에 기입  ")},
    {"opaque", MEVRA_TEXT_NOOP("batch_operation", "알파를 모두 1로 함")},
    {"key-alpha0", MEVRA_TEXT_NOOP("batch_operation", "빼는색의알파를 0으로 함")},
    {"mono", MEVRA_TEXT_NOOP("batch_operation", "모노크롬")},
    {"invert", MEVRA_TEXT_NOOP("batch_operation", "반전")},
    {"bleed", MEVRA_TEXT_NOOP("batch_operation", "알파 0부에 불투명경계 색상 취득")},
    {"key-to-back", MEVRA_TEXT_NOOP("batch_operation", "[투과대상색]을 백 컬러로 한다")},
    {"key-to-first", MEVRA_TEXT_NOOP("batch_operation", "[투과대상색]을 1팔레트로 이동")},
};

bool same_ignoring_case(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

// Trims or scales to the rectangle that the size settings give for this image.
int resize_by_settings(image_info& img) {
    if (img.trim_calc() != 0) {
        show_message(ui_text("resize", "サイズ変更の設定が正しくありません"),
                     ui_text("resize", "リサイズ"));
        return -1;
    }
    const clgbase& s = settings();
    if (s.trim_or_scaling == 0)
        return img.image_triming(s.trim_left, s.trim_top, s.trim_width, s.trim_height);
    return img.image_scaling(s.trim_width, s.trim_height);
}

// The reduction reports its own refusals; a finished one marks the image with flag 2.
int reduce(image_info& img) {
    const int old_flag = img.flag;
    img.flag = 1;
    if (const auto& palette = fixed_reduction_palette(); !palette.empty())
        map_to_palette(img, palette);
    else
        img.image_to_index(settings().target_color);
    if (img.flag == 2) return 0;
    if (img.flag != 0) img.flag = old_flag;
    return -1;
}

}  // namespace

int run_batch_operation(image_info& img, int op) {
    if (op < 0 || op >= batch_operation_count) return -1;
    if (img.flag == 0 || (img.argb_buff.empty() && img.index_buff.empty())) {
        show_message(ui_text("batch", "変換する画像を選んでください"), ui_text("batch", "변환"));
        return -1;
    }
    switch (op) {
        case batch_save:
            return 0;
        case batch_reduce:
            return reduce(img);
        case batch_resize:
        case batch_scale:
            return resize_by_settings(img);
        case batch_rotate_right:
        case batch_rotate_left:
        case batch_flip:
        case batch_mirror:
            img.flip_and_rotate(op - batch_rotate_right);
            return 0;
        case batch_to_argb:
            img.image_to_argb();
            return 0;
        default:
            img.color_one_calc(op - batch_luma_to_alpha);
            return 0;
    }
}

const char* batch_operation_name(int op) {
    return op >= 0 && op < batch_operation_count ? names[op].name : nullptr;
}

const char* batch_operation_text(int op) {
    return op >= 0 && op < batch_operation_count ? names[op].text : nullptr;
}

int batch_operation_from_name(const std::string& name) {
    if (!name.empty() && name.size() <= 2 && std::isdigit(static_cast<unsigned char>(name[0]))) {
        int index = -1;
        const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), index);
        if (error == std::errc() && end == name.data() + name.size() && index >= 0 &&
            index < batch_operation_count)
            return index;
        return -1;
    }
    for (int op = 0; op < batch_operation_count; ++op)
        if (same_ignoring_case(name, names[op].name)) return op;
    return -1;
}

}  // namespace mevra
