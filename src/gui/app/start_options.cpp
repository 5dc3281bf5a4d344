#include "app/start_options.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace mevra::gui {
namespace {

constexpr std::string_view usage = "Usage: mevra [--help] [--version] [--] [FILE...]\n";

constexpr std::string_view help =
    "Usage: mevra [--help] [--version] [--] [FILE...]\n"
    "MEVRA reduces images to palettes, edits them and converts game textures.\n"
    "Each image FILE (BMP, PNG, TGA, DDS, JPEG, TIFF, GIF, WebP) opens in its own\n"
    "window; an AVI file opens in the AVI player.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and exit\n"
    "  --             the arguments after it are files, even those beginning with -\n"
    "\n"
    "Qt's own options, such as -platform NAME and -style NAME, are understood as well.\n"
    "mevra-cli runs the same conversions without a window.\n";

// Qt's application options (QGuiApplication and QApplication), with one or
// two leading dashes; the first group takes a value.
constexpr std::array<std::string_view, 13> qt_options_with_value = {
    "platform", "platformpluginpath", "platformtheme", "plugin",  "qmljsdebugger",
    "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "style",
    "stylesheet", "display", "geometry"};
constexpr std::array<std::string_view, 5> qt_flags = {"reverse", "widgetcount", "nograb",
                                                      "dograb", "sync"};

template <size_t N>
bool is_one_of(std::string_view name, const std::array<std::string_view, N>& names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::optional<start_answer> answer_start_options(const std::vector<std::string>& arguments) {
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") break;
        if (argument.size() < 2 || argument[0] != '-') continue;  // a file, or "-"
        if (argument == "-h" || argument == "--help") return start_answer{0, std::string(help), {}};
        if (argument == "--version")
            return start_answer{0, std::string("mevra ") + MEVRA_VERSION + "\n", {}};
        std::string_view name(argument);
        name.remove_prefix(name.starts_with("--") ? 2 : 1);
        const size_t equals = name.find('=');
        const bool inline_value = equals != std::string_view::npos;
        name = name.substr(0, equals);
        if (is_one_of(name, qt_flags)) continue;
        if (is_one_of(name, qt_options_with_value)) {
            if (!inline_value) ++i;  // its value
            continue;
        }
        return start_answer{2, {},
                            "mevra: unknown option '" + argument + "'\n" + std::string(usage) +
                                "Run 'mevra --help' for more information.\n"};
    }
    return std::nullopt;
}

}  // namespace mevra::gui
