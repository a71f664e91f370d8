#include "MakeOptions.h"

#include <charconv>

namespace lumetra::make {

std::optional<MakeOptions> ParseMakeOptions(const std::vector<std::string>& args,
                                            std::string& error) {
    MakeOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (arg == "--help" || arg == "--version") {
            MakeOptions answer;
            (arg == "--help" ? answer.help : answer.version) = true;
            return answer;
        }
        if (arg == "--output") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            options.output = *v;
        } else if (arg == "--save-project") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            options.saveProject = *v;
        } else if (arg == "--music") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            options.music = *v;
        } else if (arg == "--publish" || arg == "--homepage") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            (arg == "--publish" ? options.publish : options.homepage) = *v;
        } else if (arg == "--no-sync") {
            options.noSync = true;
        } else if (arg == "--seed") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            std::uint64_t seed = 0;
            const auto [end, ec] = std::from_chars(v->data(), v->data() + v->size(), seed);
            if (ec != std::errc() || end != v->data() + v->size()) {
                error = "--seed needs a whole number, not \"" + *v + "\"";
                return std::nullopt;
            }
            options.seed = seed;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (options.source.empty()) {
            options.source = arg;
        } else {
            error = "only one project file or picture folder, not also \"" + arg + "\"";
            return std::nullopt;
        }
    }
    if (options.publish.empty() && (!options.homepage.empty() || options.noSync)) {
        error = "--homepage and --no-sync belong to --publish";
        return std::nullopt;
    }
    if (options.source.empty()) {
        error = "a project file or a picture folder is needed";
        return std::nullopt;
    }
    return options;
}

}  // namespace lumetra::make
