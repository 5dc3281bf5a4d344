#pragma once
// The enums shared by every part of the program. Plain int-valued enums: their
// values are stored in settings and compared as numbers throughout.

namespace mevra {

// Pixel storage of an image.
enum IMGTYP : int {
    IMGTYP_NONE = -1,
    IMGTYP_RGB = 0,  // 32-bit ARGB per pixel
    IMGTYP_256 = 1,  // indexed, up to 256 colours
    IMGTYP_16 = 2,   // indexed, up to 16 colours
};

// File format an image came from (0..6 is also the order of the save-type lists).
enum IMGFMT : int {
    IMGFMT_BMP = 0,
    IMGFMT_JPG = 1,
    IMGFMT_PNG = 2,
    IMGFMT_TIF = 3,
    IMGFMT_GIF = 4,
    IMGFMT_TGA = 5,
    IMGFMT_DDS = 6,
    IMGFMT_CLIPBOARD = 9,
    IMGFMT_NONE = 10,
};

// Pixel layout used when saving DDS.
enum DDSFMT : int {
    FMT_A8R8G8B8 = 0,
    FMT_A4R4G4B4 = 1,
    FMT_A1R5G5B5 = 2,
    FMT_DXT5 = 3,
    FMT_DXT3 = 4,
    FMT_DXT1 = 5,
    FMT_BC7 = 6,
    FMT_BC4 = 7,  // one channel: the luminance
    FMT_BC5 = 8,  // two channels: red and green
};

// Current tool of the palette window.
enum PLTTYP_TYPE : int {
    PLTTYP_NONE = -1,
    PLTTYP_PEN1 = 0,
    PLTTYP_PEN2 = 1,
    PLTTYP_SPUIT = 2,
    PLTTYP_ZOOMIN = 3,
    PLTTYP_ZOOMOUT = 4,
};

const char* imgtyp_name(int type);
const char* imgfmt_name(int format);

}  // namespace mevra
