#include "cli/cli_batch_host.h"

#include <utility>

#include "batch/batch_operation.h"
#include "reduce/palette_mapping.h"

namespace mevra::cli {

cli_batch_host::cli_batch_host(std::vector<cli_entry> entries, batch_choices choices,
                               bool overwrite, cli_reporting reporting)
    : entries_(std::move(entries)),
      choices_(std::move(choices)),
      overwrite_(overwrite),
      reporting_(reporting) {}

void cli_batch_host::set_single_output(const std::string& path, const std::string& shown) {
    single_output_ = path;
    single_output_shown_ = shown;
}

std::string cli_batch_host::output_path(int, const std::string&, const std::string& by_rule) {
    return single_output_.empty() ? by_rule : single_output_;
}

std::string cli_batch_host::shown_output(const std::string& output) const {
    return !single_output_.empty() && output == single_output_ ? single_output_shown_ : output;
}

void cli_batch_host::holder_clear() {
    if (shown_ && shown_->flag == 2) result_palette_ = palette_of(*shown_);
    shown_ = nullptr;
}

void cli_batch_host::file_done(const batch_file_report& r) {
    const cli_entry& e = entries_[static_cast<size_t>(r.index)];
    const char* name = e.shown.c_str();
    const std::string out = shown_output(r.output);
    const char* op = batch_operation_name(choices_.operation);
    bool failure = true;
    const char* word = "";
    switch (r.result) {
        case batch_result::saved:
            failure = false;
            word = "saved";
            if (reporting_.time) std::printf("%s: %s took %.3f s\n", name, op, r.operation_seconds);
            if (reporting_.results_to_stdout && !reporting_.quiet)
                std::printf("%s -> %s\n", name, out.c_str());
            break;
        case batch_result::kept:
        case batch_result::save_cancelled:
            word = "kept";
            std::fprintf(stderr, "%s: %s exists and was kept (use --overwrite)\n", name,
                         out.c_str());
            break;
        case batch_result::skipped:
            word = "skipped";
            // A list may hold empty lines and vanished files: only a file the
            // user named on the command line is missed.
            failure = e.named_by_user;
            if (failure) std::fprintf(stderr, "%s: no such file\n", name);
            break;
        case batch_result::load_failed:
            word = "not readable";  // the loader has printed why
            break;
        case batch_result::operation_failed:
            word = "refused";
            std::fprintf(stderr, "%s: %s was refused; nothing saved\n", name, op);
            break;
        case batch_result::save_failed:
            word = "not saved";
            std::fprintf(stderr, "%s: could not be saved as %s\n", name, out.c_str());
            break;
    }
    if (failure) ++failures_;
    if (reporting_.progress && !reporting_.quiet)
        std::fprintf(stderr, "[%d/%d] %s: %s%s%s (%.3f s)\n", r.index + 1, r.count, name, word,
                     r.result == batch_result::saved ? " -> " : "",
                     r.result == batch_result::saved ? out.c_str() : "", r.seconds);
    std::fflush(stdout);
}

}  // namespace mevra::cli
