#pragma once
// The encoders offered for re-saving an AVI, and the options the compressor
// dialog (or `mevra-cli avi encode`) sets.
#include <string>
#include <vector>

namespace mevra {

struct avi_encoder_choice {
    std::string name;          // FFmpeg encoder name, the value of avi_encode_options::encoder
    std::string label;         // for the compressor dialog's list
    bool has_keyint = false;   // inter-frame codec: the key-frame interval applies
    bool has_bitrate = false;  // a data rate can be asked for
    bool has_quality = false;  // the quality setting applies
};

// The encoders of this FFmpeg build that AVI players commonly read, in a
// fixed order (uncompressed RGB first); only those actually present.
std::vector<avi_encoder_choice> available_avi_encoders();
// The entry for `name` among the available ones, or null.
const avi_encoder_choice* find_avi_encoder(const std::string& name);

struct avi_encode_options {
    std::string encoder = "mjpeg";
    int keyint = 0;        // a key frame every N frames; 0 leaves the encoder's default
    int bitrate_kbps = 0;  // data rate in kilobits per second; 0 uses the quality instead
    int quality = 75;      // 0 (smallest) … 100 (best)
    // For "rawvideo": bits per pixel of the stored frames, 8 (the source must
    // be 8-bit; its palette is kept), 16 (RGB555), 24 or 32.
    int raw_bits = 24;
    // B-frames are never written by the program (AVI stores no presentation
    // order); the field exists so tests can build such files for the reader.
    int max_b_frames = 0;
};

}  // namespace mevra
