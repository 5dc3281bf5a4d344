#include "cli/settings_option.h"

#include "settings/ini_file.h"

namespace mevra::cli {

bool apply_settings_file(const std::string& path, clgbase& clg, std::string& error) {
    window_layout unused;
    std::string reason;
    switch (read_ini(path, clg, unused, reason)) {
        case ini_read_status::loaded:
            return true;
        case ini_read_status::missing:
            error = "--settings: the file '" + path + "' does not exist";
            return false;
        case ini_read_status::unreadable:
            break;
    }
    error = "--settings: '" + path + "' cannot be read: " + reason;
    return false;
}

}  // namespace mevra::cli
