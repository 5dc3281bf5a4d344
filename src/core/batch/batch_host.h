#pragma once
// What a batch run needs from whoever drives it: the list, the five batch
// choices, a progress bar, event processing, the questions and dialogs of a
// run, and a place to show the image being worked on.
//
// The batch dialog and mevra-cli both implement this interface and hand it to
// the same batch_engine, so one list with one set of choices gives the same
// files from either. Every call comes from the thread that called
// batch_engine::run (the user-interface thread in the desktop program).
//
// Order of the calls during a run:
//   holder_open, set_progress(0, n), choices
//   [option_dialog]                         operations 1, 2 and 3 only
//   per index i:  entry_count, set_progress(i + 1, n), entry(i),
//                 process_events, choices, holder_show, [output_path],
//                 process_events, [ask_overwrite, [save_dialog]],
//                 holder_clear, file_done
//   holder_close, set_progress(0, n), [exclamation]
// holder_close and the final set_progress come on every way out, also after
// the output-folder check or a cancelled option dialog ended the run early.
#include <string>

#include "image/image_info.h"
#include "platform/ui_port.h"

namespace mevra {

// The dialog's five batch controls, read at the start of a run and again for
// every file (the user may change them while events are processed).
struct batch_choices {
    int operation = 0;              // 0..16, see batch_operation.h
    int format = 0;                 // IMGFMT value 0..6 (BMP, JPG, PNG, TIF, GIF, TGA, DDS)
    bool use_out_folder = false;    // results into out_folder instead of beside each source
    std::string out_folder;         // taken as entered; must be an existing folder
    bool confirm_overwrite = true;  // ask before an existing output file is replaced
    // Reduction only: one census over all files first, then every file reduced
    // onto the one palette built from it.
    bool shared_palette = false;
};

enum class overwrite_answer { yes, no, cancel };

// What became of one list entry.
enum class batch_result {
    saved,             // written to `output`
    kept,              // the output exists and the answer was Cancel: nothing written
    save_cancelled,    // answered No, then cancelled the save dialog: nothing written
    skipped,           // no existing file at that entry (missing, a folder, an empty line)
    load_failed,       // could not be read or decoded (the loader has reported it)
    operation_failed,  // the operation refused the image (reported); nothing written
    save_failed,       // could not be written (reported by the save dispatch)
};

struct batch_file_report {
    int index = 0;       // list index
    int count = 0;       // number of list entries at that moment
    std::string source;  // the list entry
    std::string output;  // the output path (the one chosen in the save dialog after No)
    batch_result result = batch_result::skipped;
    double operation_seconds = 0;  // time spent in the operation alone
    double seconds = 0;            // time for the whole entry: load, operation, save
};

class batch_host {
  public:
    virtual ~batch_host() = default;

    // --- the list and the choices; read again whenever the run needs them ---
    virtual int entry_count() = 0;
    virtual std::string entry(int index) = 0;
    virtual batch_choices choices() = 0;

    // --- user interface ---
    // The progress bar: `value` files begun out of `maximum` list entries.
    // The maximum follows the list when it grows or shrinks during a run.
    virtual void set_progress(int value, int maximum) = 0;
    // Lets pending events run (the stop button, list edits, drops). A stop
    // is asked for through batch_engine::stop(), typically from inside here.
    virtual void process_events() { ui().process_events(); }
    // Opens the option dialog of an operation before the first file:
    // 1 the colour-reduction options, 2 the trim/resize dialog in mode 0,
    // 3 in mode 1. Returns true only when it ended with OK; the dialog writes
    // its choices into the settings, which the operation then reads.
    virtual bool option_dialog(int operation) = 0;
    // The overwrite question for an existing output file. The default asks
    // through the ui port with the program's Yes / No / Cancel message.
    virtual overwrite_answer ask_overwrite(const std::string& output_path);
    // After "No": the holder's save dialog with `output_path` as the file name
    // and the filter entry `format + 1` preselected. On OK returns true with
    // the chosen path and format (chosen filter index - 1); false on Cancel.
    virtual bool save_dialog(const std::string& output_path, int format, std::string& chosen_path,
                             int& chosen_format) = 0;
    // The end-of-run sound; only a run that reached the file loop plays it.
    virtual void exclamation() { ui().exclamation(); }

    // --- the holder: stands for the hidden image window of a run ---
    // At the start of a run: create the holder and make it the active image.
    virtual void holder_open() {}
    // A file is loaded: `title` is its path. The image belongs to the engine
    // and stays valid until holder_clear(); the host may show or point at it
    // (the operation and the save act on it right after this call).
    virtual void holder_show(const std::string& title, image_info& image) {
        (void)title;
        (void)image;
    }
    // The image of the current file is about to be released: drop any
    // reference to it.
    virtual void holder_clear() {}
    // At the end of a run, on every way out: close and release the holder;
    // afterwards no image window is active.
    virtual void holder_close() {}

    // --- reporting and naming, for hosts that want them ---
    // After each list entry, whatever became of it.
    virtual void file_done(const batch_file_report& report) { (void)report; }
    // The output path of entry `index`; `by_rule` is the batch naming rule's
    // path. A host that names a single output itself returns its own.
    virtual std::string output_path(int index, const std::string& source,
                                    const std::string& by_rule) {
        (void)index;
        (void)source;
        return by_rule;
    }
};

}  // namespace mevra
