#pragma once
// Re-saving the open AVI stream with another encoder ("AVIを保存"), and the
// compressor dialog's preview of one encoded frame.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "video/avi_encoders.h"
#include "video/avi_messages.h"
#include "video/avi_reader.h"

namespace mevra {

// Called after each written frame with (frames done, frames in all); return
// false to cancel the save.
using avi_progress = std::function<bool(int done, int total)>;

inline constexpr int avi_save_done = 0;
inline constexpr int avi_save_failed = -1;
inline constexpr int avi_save_cancelled = -2;

// Writes every frame of `source` (decoded as the player shows it) into a new
// AVI at `out_path` that holds exactly this one video stream, each frame at
// its own sample position, at the source's rate and scale. The file appears
// only when every frame was written; an existing file stays untouched on
// failure or cancel. Returns avi_save_done; avi_save_failed with the message
// (the failed-save text with the reason, caption "AVI保存") in `failure`; or
// avi_save_cancelled (nothing written, nothing to report).
int reencode_avi(avi_reader& source, const std::string& out_path, const avi_encode_options& opt,
                 const avi_progress& progress, avi_failure& failure);

// Encodes one bitmap alone with the options and decodes the result again, as
// the chosen encoder would store it. 0 with `preview` (a packed bitmap) and
// the encoded size in bytes, or -1 with the reason.
int encode_preview(std::span<const uint8_t> dib, uint32_t rate, uint32_t scale,
                   const avi_encode_options& opt, std::vector<uint8_t>& preview,
                   size_t& encoded_bytes, std::string& error);

}  // namespace mevra
