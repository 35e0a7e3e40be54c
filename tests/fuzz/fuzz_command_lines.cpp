// Both console programs' arguments and Kestrel's own command line, from any bytes.
#include <vector>

#include "cli/kestrel_cli.h"
#include "cli/osprey_cli.h"
#include "common/native_name.h"
#include "kestrel/app/command_line.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ko::fuzz::FuzzInput input(data, size);
    std::vector<std::u16string> arguments;
    std::u16string line;
    for (std::string_view piece = input.Piece(); !piece.empty(); piece = input.Piece()) {
        arguments.push_back(ko::NativeNameToText(piece));
        line += u' ' + arguments.back();
    }
    std::string error;
    ko::cli::KestrelCliOptions kestrel;
    if (ko::cli::ParseKestrelCliArguments(arguments, kestrel, error) && !kestrel.help)
        KO_FUZZ_CHECK(!(kestrel.json && kestrel.quiet) && error.empty());
    ko::cli::OspreyCliOptions osprey;
    if (!ko::cli::ParseOspreyCliArguments(arguments, osprey, error)) KO_FUZZ_CHECK(!error.empty());

    kestrel::app::CommandLinePaths paths;
    kestrel::app::ParseCommandLine(line, paths);
    for (const char16_t* path : {paths.a, paths.b}) {
        const std::u16string_view text(path);
        // Only a path in double quotes may hold a blank.
        KO_FUZZ_CHECK(text.size() < ko::kPathUnits &&
                      (text.find(u' ') == text.npos || line.find(u'"') != line.npos));
        KO_FUZZ_CHECK(line.find(text) != line.npos);
    }
    return 0;
}
