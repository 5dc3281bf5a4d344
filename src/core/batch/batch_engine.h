#pragma once
// One batch run: for every entry of the host's list, load the file, apply the
// chosen operation and save the result under the batch naming rule. The run
// stays on the caller's thread and lets the host process events before each
// file and before each overwrite question, so a stop button works between
// files. Only one image is in memory at a time.
#include <string>

#include "batch/batch_host.h"
#include "settings/clgbase.h"

namespace mevra {

// How a run ended.
enum class batch_end {
    finished,          // went through the whole list
    stopped,           // stop() was asked for; the files before were done
    no_out_folder,     // the output folder does not exist (reported); nothing touched
    option_cancelled,  // the option dialog did not end with OK; nothing touched
    busy,              // run() was called again from inside a run; nothing happened
    palette_refused,   // the shared palette could not be built (reported); nothing touched
};

struct batch_summary {
    batch_end end = batch_end::finished;
    int saved = 0;    // files written
    int failed = 0;   // load, operation or save failures (each reported)
    int kept = 0;     // not written by the user's answer (Cancel, or No then Cancel)
    int skipped = 0;  // entries that named no existing file
};

// The batch choices as the settings hold them (the main window's copy of the
// dialog's controls).
batch_choices batch_choices_from_settings(const clgbase& clg);

// The batch naming rule: the output folder as entered (or the source's own
// folder), a "/" even when the folder already ends in one, the source's name
// without its extension and the extension of `format`. A source without a
// folder part is taken from the current folder.
std::string batch_output_path(const std::string& source, const batch_choices& choices);

// ".bmp" … ".dds" for an IMGFMT value 0..6, "" for anything else.
const char* batch_format_extension(int format);

class batch_engine {
  public:
    // Runs over the host's list (batch_start). Resets the stop request first.
    // A call made while a run is going (from inside process_events) returns
    // batch_end::busy at once without calling the host.
    batch_summary run(batch_host& host);

    // Asks a running run to end before the next file (the stop button, or the
    // dialog's frame being closed). The file in work is finished first.
    void stop() { cancel_flg = 1; }
    bool stop_requested() const { return cancel_flg != 0; }
    // True while run() has not returned.
    bool running() const { return running_; }

  private:
    int cancel_flg = 0;
    bool running_ = false;
};

}  // namespace mevra
