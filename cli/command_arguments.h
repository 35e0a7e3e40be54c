// The console programs' arguments: "--name" switches, "--name=N" integer flags and positional
// arguments; "--" makes every later argument positional, so a folder may start with "--".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ko::cli {

struct SwitchFlag {
    std::u16string_view name;  // "--json"
    bool* on;
};

struct IntegerFlag {
    std::u16string_view name;  // "--group"
    std::optional<int>* value;
};

// Sets the flags named in `arguments` and collects the rest in `positional`. False, with a
// one-line reason in `error`, for an unknown flag or an integer flag without a decimal value.
bool SplitArguments(const std::vector<std::u16string>& arguments,
                    const std::vector<SwitchFlag>& switches,
                    const std::vector<IntegerFlag>& integers,
                    std::vector<std::u16string>& positional, std::string& error);

// The output choices --json, --quiet and --html exclude each other. False, with a one-line
// reason in `error`, when more than one is set.
bool ExclusiveOutputs(bool json, bool quiet, bool html, std::string& error);

}  // namespace ko::cli
