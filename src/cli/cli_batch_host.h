#pragma once
// The command line's side of a batch run: a fixed list and fixed choices, the
// overwrite question answered by --overwrite, and one report line per file.
#include <cstdio>
#include <string>
#include <vector>

#include "batch/batch_engine.h"

namespace mevra::cli {

struct cli_entry {
    std::string path;           // what the engine loads
    std::string shown;          // what the messages call it ("-" for standard input)
    bool named_by_user = true;  // a file argument (a missing one is a failure), not a list line
};

struct cli_reporting {
    bool progress = false;          // "[i/n] name: result (time)" on stderr
    bool quiet = false;             // only failures
    bool time = false;              // the operation's time on stdout
    bool results_to_stdout = true;  // "source -> output" lines (off when stdout carries the image)
};

class cli_batch_host final : public batch_host {
  public:
    cli_batch_host(std::vector<cli_entry> entries, batch_choices choices, bool overwrite,
                   cli_reporting reporting);

    // A single output path for the only entry (-o FILE); `shown` names it in messages.
    void set_single_output(const std::string& path, const std::string& shown);
    // Entries that counted as failures (load, operation, save, kept, missing arguments).
    int failures() const { return failures_; }

    int entry_count() override { return static_cast<int>(entries_.size()); }
    std::string entry(int index) override { return entries_[static_cast<size_t>(index)].path; }
    batch_choices choices() override { return choices_; }
    void set_progress(int, int) override {}
    void process_events() override {}
    // The command-line options have already been written into the settings.
    bool option_dialog(int) override { return true; }
    overwrite_answer ask_overwrite(const std::string&) override {
        return overwrite_ ? overwrite_answer::yes : overwrite_answer::cancel;
    }
    bool save_dialog(const std::string&, int, std::string&, int&) override { return false; }
    void exclamation() override {}
    void file_done(const batch_file_report& report) override;
    // Keeps the colour table of the last reduced image (for --palette-out).
    void holder_show(const std::string&, image_info& image) override { shown_ = &image; }
    void holder_clear() override;
    const std::vector<uint32_t>& result_palette() const { return result_palette_; }
    std::string output_path(int index, const std::string& source,
                            const std::string& by_rule) override;

  private:
    std::string shown_output(const std::string& output) const;

    std::vector<cli_entry> entries_;
    batch_choices choices_;
    bool overwrite_;
    cli_reporting reporting_;
    std::string single_output_, single_output_shown_;
    int failures_ = 0;
    image_info* shown_ = nullptr;
    std::vector<uint32_t> result_palette_;
};

}  // namespace mevra::cli
