#include "cli/command_arguments.h"

#include <charconv>

#include "common/text.h"

namespace ko::cli {

namespace {

std::optional<int> ParseInteger(std::u16string_view text) {
    const std::string narrow = Utf16ToUtf8(text);
    const char* end = narrow.data() + narrow.size();
    int value = 0;
    const auto [stop, error] = std::from_chars(narrow.data(), end, value);
    if (error != std::errc() || stop != end || narrow.empty()) return std::nullopt;
    return value;
}

}  // namespace

bool SplitArguments(const std::vector<std::u16string>& arguments,
                    const std::vector<SwitchFlag>& switches,
                    const std::vector<IntegerFlag>& integers,
                    std::vector<std::u16string>& positional, std::string& error) {
    bool flagsEnded = false;
    for (const std::u16string& argument : arguments) {
        if (flagsEnded || !argument.starts_with(u"--")) {
            positional.push_back(argument);
            continue;
        }
        if (argument == u"--") {
            flagsEnded = true;
            continue;
        }
        const std::size_t equals = argument.find(u'=');
        const std::u16string_view name = std::u16string_view(argument).substr(0, equals);
        bool known = false;
        for (const SwitchFlag& flag : switches) {
            if (argument != flag.name) continue;
            *flag.on = true;
            known = true;
        }
        for (const IntegerFlag& flag : integers) {
            if (name != flag.name) continue;
            known = true;
            *flag.value = equals == std::u16string::npos
                              ? std::nullopt
                              : ParseInteger(std::u16string_view(argument).substr(equals + 1));
            if (!*flag.value) {
                error = Utf16ToUtf8(name) + " needs a decimal number, as in " + Utf16ToUtf8(name) +
                        "=1";
                return false;
            }
        }
        if (!known) {
            error = "unknown option " + Utf16ToUtf8(argument);
            return false;
        }
    }
    return true;
}

bool ExclusiveOutputs(bool json, bool quiet, bool html, std::string& error) {
    if (html && (json || quiet)) {
        error = "--html cannot be combined with --json or --quiet";
        return false;
    }
    if (json && quiet) {
        error = "--json and --quiet exclude each other";
        return false;
    }
    return true;
}

}  // namespace ko::cli
