// The warnings after a load that could not keep the whole file, or not decode all of it: a
// difference in what was cut away, or in bytes that read as the same replacement, would go
// unseen, so an "equal" outcome must not be taken at its word. Kestrel shows them in boxes;
// kestrel-cli shows the first on stderr and settles the second by comparing the files' bytes.
#pragma once

#include <string_view>

#include "common/report.h"
#include "kestrel/engine/file_loader.h"

namespace kestrel::app {

// When `cuts` shows that anything of the file at `path` was cut, shows messages::kCutLoad with the
// grid's `rows` and `columns` (warning icon, OK only, owned by `owner`); otherwise nothing.
void WarnIfCut(const LoadCuts& cuts, std::u16string_view path, int rows, int columns,
               ko::Reporter& reporter, ko::OwnerWindow owner);

// When `cuts` counts lines of side `side` that could not be decoded, shows
// messages::kUndecodableLoad, styled and owned as WarnIfCut's box; otherwise nothing.
void WarnIfUndecodable(const LoadCuts& cuts, int side, std::u16string_view path,
                       ko::Reporter& reporter, ko::OwnerWindow owner);

}  // namespace kestrel::app
