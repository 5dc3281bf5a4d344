#pragma once
// The size calculation behind trim_calc, on a bare width and height and an
// explicit set of choices, so a dialog can preview a result before any of its
// choices reach the settings.
namespace mevra {

class clgbase;

// The trim/resize choices that trim_calc reads; field names and encodings are
// those of clgbase.
struct trim_choices {
    int trim_mode = 0;
    int trim_1w_style = 0, trim_1h_style = 0, trim_1size_type = 0, trim_1kotei_mode = 0;
    int trim_1width = 0, trim_1height = 0;
    int trim_2top = 0, trim_2bottom = 0, trim_2left = 0, trim_2right = 0;
    int trim_3mode = 0;
    int trim_4mode = 0, trim_4size = 0;

    static trim_choices of(const clgbase& s);
};

// Where the old top-left pixel lands and the new size.
struct trim_rect {
    int left = 0, top = 0, width = 0, height = 0;
};

// 0 when computed; -1 (out untouched) for a size below 1 × 1 or a choice
// outside its range.
int trim_calc_size(const trim_choices& c, int width, int height, trim_rect& out);

}  // namespace mevra
