// The process's current directory: where both programs find their settings file and manual,
// recorded once at start-up and set again before every settings access.
#pragma once

#include <string>
#include <string_view>

namespace ko {

// The current directory however long it is, or an empty text when the platform cannot tell it.
std::u16string ReadCurrentDirectory();

// Makes `directory` the process's current directory; false when the platform refuses.
bool ChangeCurrentDirectory(std::u16string_view directory);

}  // namespace ko
