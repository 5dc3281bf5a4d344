#include "batch/shared_palette_pass.h"

#include <filesystem>

#include "image/image_info.h"
#include "platform/ui_port.h"
#include "reduce/shared_census.h"

namespace mevra {
namespace {

// Swallows the loaders' messages for the length of the pass; everything else
// goes to the port that was installed.
class quiet_loading final : public ui_port {
  public:
    quiet_loading() : outer_(ui()) { previous_ = set_ui_port(this); }
    ~quiet_loading() override { set_ui_port(previous_); }
    quiet_loading(const quiet_loading&) = delete;
    quiet_loading& operator=(const quiet_loading&) = delete;

    msg_answer message_box(const std::string&, const std::string&, msg_buttons) override {
        return msg_answer::ok;
    }
    void debug_line(const std::string& line) override { outer_.debug_line(line); }
    void process_events() override { outer_.process_events(); }

  private:
    ui_port& outer_;
    ui_port* previous_ = nullptr;
};

}  // namespace

shared_palette_outcome shared_palette_pass(batch_host& host, int target,
                                           const std::function<bool()>& stopped,
                                           std::vector<uint32_t>& palette) {
    shared_census census;
    {
        quiet_loading quiet;
        for (int i = 0; i < host.entry_count(); ++i) {
            host.process_events();
            if (stopped && stopped()) return shared_palette_outcome::stopped;
            const std::string path = host.entry(i);
            std::error_code ec;
            if (path.empty() || !std::filesystem::is_regular_file(path, ec)) continue;
            image_info img(path);
            census.add(img);
        }
    }
    if (census.empty()) return shared_palette_outcome::nothing_loaded;
    return census.build_palette(target, palette) ? shared_palette_outcome::built
                                                 : shared_palette_outcome::refused;
}

}  // namespace mevra
