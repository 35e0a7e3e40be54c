// The warning after a load that could not keep the whole file: a difference in what was cut
// away would go unseen, so an "equal" outcome must not be taken at its word. Kestrel shows it
// in a box, kestrel-cli on stderr.
#pragma once

#include <string_view>

#include "common/report.h"
#include "kestrel/engine/file_loader.h"

namespace kestrel::app {

// When `cuts` shows that anything of the file at `path` was cut, shows messages::kCutLoad with the
// grid's `rows` and `columns` (warning icon, OK only, owned by `owner`); otherwise nothing.
void WarnIfCut(const LoadCuts& cuts, std::u16string_view path, int rows, int columns,
               ko::Reporter& reporter, ko::OwnerWindow owner);

}  // namespace kestrel::app
