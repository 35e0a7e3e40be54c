// HTML for the console programs' --html pages: text from files and file names written so that
// it stays text, and the frame every page shares. A page is one UTF-8 document with its style
// sheet inline; it loads nothing and needs no script.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ko::cli {

// Appends `text` as HTML that reads as exactly that text, in element content and in quoted
// attribute values alike: & < > " ' become character references, every control unit (below
// U+0020, and U+007F) its control picture, so a tab takes one place and is not expanded, and a
// lone surrogate U+FFFD. The bytes appended are always valid UTF-8.
void AppendHtmlText(std::string& out, std::u16string_view text);

// "#rrggbb" for a colour held as 0x00BBGGRR.
std::string CssColour(std::uint32_t colour);

// The page up to the open body: the UTF-8 declaration, `title` (escaped) and `css`.
std::string HtmlPageStart(std::u16string_view title, std::string_view css);

inline constexpr char kHtmlPageEnd[] = "</body>\n</html>\n";

}  // namespace ko::cli
