#include "batch/batch_engine.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string_view>

#include "batch/batch_operation.h"
#include "batch/shared_palette_pass.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "reduce/palette_mapping.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;
using clock_type = std::chrono::steady_clock;

double seconds_since(clock_type::time_point start) {
    return std::chrono::duration<double>(clock_type::now() - start).count();
}

bool is_existing_file(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

bool is_existing_folder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool needs_option_dialog(int operation) {
    return operation == batch_reduce || operation == batch_resize || operation == batch_scale;
}

// Step 6 of a run, on every way out: the holder goes, no image stays active,
// the bar returns to 0, and a run that reached the files says it is done.
class run_ending {
  public:
    explicit run_ending(batch_host& host) : host_(host) {}
    ~run_ending() {
        host_.holder_close();
        host_.set_progress(0, host_.entry_count());
        if (reached_loop) host_.exclamation();
    }
    run_ending(const run_ending&) = delete;
    run_ending& operator=(const run_ending&) = delete;
    bool reached_loop = false;

  private:
    batch_host& host_;
};

// Loads, converts and saves one existing file; the image lives only here.
class one_file {
  public:
    one_file(batch_host& host, batch_file_report& report) : host_(host), report_(report) {}

    batch_result convert(const batch_choices& choices) {
        image = std::make_unique<image_info>(report_.source);
        // The loader has already said why it could not read the file.
        if (image->flag == 0 || (image->color_num == 0 && image->argb_buff.empty()))
            return batch_result::load_failed;
        host_.holder_show(report_.source, *image);

        const auto start = clock_type::now();
        const int done = run_batch_operation(*image, choices.operation);
        report_.operation_seconds = seconds_since(start);
        // A refused operation has been reported; saving the untouched picture
        // under the output name would pass it off as converted.
        if (done != 0) return batch_result::operation_failed;

        const std::string by_rule = batch_output_path(report_.source, choices);
        report_.output = host_.output_path(report_.index, report_.source, by_rule);
        host_.process_events();
        int format = choices.format;
        std::error_code ec;
        if (choices.confirm_overwrite && fs::exists(report_.output, ec)) {
            switch (host_.ask_overwrite(report_.output)) {
                case overwrite_answer::cancel:
                    return batch_result::kept;
                case overwrite_answer::no: {
                    std::string chosen;
                    if (!host_.save_dialog(report_.output, format, chosen, format))
                        return batch_result::save_cancelled;
                    report_.output = chosen;
                    break;
                }
                case overwrite_answer::yes:
                    break;
            }
        }
        return image->save_to_file(format, report_.output) == 0 ? batch_result::saved
                                                                : batch_result::save_failed;
    }

    ~one_file() {
        if (!image) return;
        host_.holder_clear();
        image.reset();
    }
    one_file(const one_file&) = delete;
    one_file& operator=(const one_file&) = delete;

  private:
    batch_host& host_;
    batch_file_report& report_;
    std::unique_ptr<image_info> image;
};

void tally(batch_summary& summary, batch_result result) {
    switch (result) {
        case batch_result::saved:
            ++summary.saved;
            break;
        case batch_result::kept:
        case batch_result::save_cancelled:
            ++summary.kept;
            break;
        case batch_result::skipped:
            ++summary.skipped;
            break;
        default:
            ++summary.failed;
    }
}

}  // namespace

const char* batch_format_extension(int format) {
    static const char* const ext[] = {".bmp", ".jpg", ".png", ".tif", ".gif", ".tga", ".dds"};
    return format >= 0 && format <= 6 ? ext[format] : "";
}

batch_choices batch_choices_from_settings(const clgbase& clg) {
    batch_choices c;
    c.operation = clg.batch_conv_index;
    c.format = clg.batch_format_type;
    c.use_out_folder = clg.batch_use_out_folder != 0;
    c.out_folder = clg.batch_out_folder_name;
    c.confirm_overwrite = clg.batch_over_write_check != 0;
    return c;
}

std::string batch_output_path(const std::string& source, const batch_choices& choices) {
    const fs::path src(source);
    const std::string folder =
        choices.use_out_folder ? choices.out_folder : src.parent_path().string();
    // The separator is added even after a trailing one: "out/" gives "out//name".
    // Appended piece by piece: GCC 12 at -O3 misreads string assignment and
    // chained '+' here (-Wrestrict).
    std::string out(folder.empty() ? std::string_view(".") : std::string_view(folder));
    out += '/';
    out += src.stem().string();
    out += batch_format_extension(choices.format);
    return out;
}

overwrite_answer batch_host::ask_overwrite(const std::string& output_path) {
    const msg_answer answer =
        ui().message_box(output_path + "\n" +
                             ui_text("batch",
                                     "同じ名前の파일  があります。上書きしますか？\n"
                                     "Yes:上書き  No:別名で保存  Cancel:保存しない"),
                         ui_text("batch", "上書き確認"), msg_buttons::yes_no_cancel);
    if (answer == msg_answer::yes) return overwrite_answer::yes;
    if (answer == msg_answer::no) return overwrite_answer::no;
    return overwrite_answer::cancel;
}

batch_summary batch_engine::run(batch_host& host) {
    batch_summary summary;
    if (running_) {
        summary.end = batch_end::busy;
        return summary;
    }
    running_ = true;
    cancel_flg = 0;
    host.holder_open();
    host.set_progress(0, host.entry_count());
    struct running_flag {
        bool& flag;
        ~running_flag() { flag = false; }
    } clear_running{running_};
    run_ending ending(host);

    const batch_choices start = host.choices();
    if (start.use_out_folder && !is_existing_folder(start.out_folder)) {
        show_message(
            fill_text(ui_text("batch", "出力フォルダ : %1\nが存在しません。入力し直して下さい。"),
                      {start.out_folder}),
            ui_text("batch", "設定エラー"));
        summary.end = batch_end::no_out_folder;
        return summary;
    }
    if (needs_option_dialog(start.operation) && !host.option_dialog(start.operation)) {
        summary.end = batch_end::option_cancelled;
        return summary;
    }

    // One palette for every file: the census pass runs before the first file
    // and the palette stays fixed for this run only.
    struct palette_for_run {
        std::vector<uint32_t> before = fixed_reduction_palette();
        ~palette_for_run() { fixed_reduction_palette() = before; }
    } restore_palette;
    if (start.operation == batch_reduce && start.shared_palette) {
        std::vector<uint32_t> palette;
        switch (shared_palette_pass(host, settings().target_color,
                                    [this] { return cancel_flg != 0; }, palette)) {
            case shared_palette_outcome::built:
                fixed_reduction_palette() = std::move(palette);
                break;
            case shared_palette_outcome::stopped:
                summary.end = batch_end::stopped;
                return summary;
            case shared_palette_outcome::refused:
                summary.end = batch_end::palette_refused;
                return summary;
            case shared_palette_outcome::nothing_loaded:
                break;  // every file fails to load in its turn and says so
        }
    }

    ending.reached_loop = true;
    // The count is read again for every index: the list may change while
    // events are processed, and the entries not yet reached follow it.
    for (int i = 0; i < host.entry_count(); ++i) {
        const int entries = host.entry_count();
        host.set_progress(i + 1, entries);
        batch_file_report report;
        report.index = i;
        report.count = entries;
        report.source = host.entry(i);
        const auto start_time = clock_type::now();
        if (!is_existing_file(report.source)) {
            report.result = batch_result::skipped;
            tally(summary, report.result);
            host.file_done(report);
            continue;
        }
        host.process_events();
        if (cancel_flg != 0) {
            summary.end = batch_end::stopped;
            break;
        }
        {
            one_file file(host, report);
            report.result = file.convert(host.choices());
        }
        report.seconds = seconds_since(start_time);
        tally(summary, report.result);
        host.file_done(report);
    }
    return summary;
}

}  // namespace mevra
