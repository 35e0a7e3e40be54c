// The platform's open-file dialog behind the OpenFileDialog seam.
#pragma once

#include "kestrel/app/file_selection.h"

namespace kestrel::app {

// GetOpenFileNameW with the request's owner, file-type list (first type active), file-name
// buffer of 780 units, title and flags; no custom filter, no separate initial folder.
OpenFileDialog& SystemOpenFileDialog();

}  // namespace kestrel::app
