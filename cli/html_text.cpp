#include "cli/html_text.h"

#include "cli/terminal_text.h"
#include "common/text.h"

namespace ko::cli {

void AppendHtmlText(std::string& out, std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size());
    for (const char16_t unit : VisibleText(text)) {
        switch (unit) {
            case u'&':
                escaped += u"&amp;";
                break;
            case u'<':
                escaped += u"&lt;";
                break;
            case u'>':
                escaped += u"&gt;";
                break;
            case u'"':
                escaped += u"&quot;";
                break;
            case u'\'':
                escaped += u"&#39;";
                break;
            default:
                escaped += unit;
        }
    }
    out += Utf16ToUtf8(escaped);  // lone surrogates become U+FFFD here
}

std::string CssColour(std::uint32_t colour) {
    static const char kHex[] = "0123456789abcdef";
    std::string css = "#";
    for (const int shift : {0, 8, 16}) {  // red, green, blue
        const unsigned byte = (colour >> shift) & 0xFF;
        css += kHex[byte >> 4];
        css += kHex[byte & 0xF];
    }
    return css;
}

std::string HtmlPageStart(std::u16string_view title, std::string_view css) {
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    AppendHtmlText(out, title);
    out.append("</title>\n<style>\n").append(css).append("</style>\n</head>\n<body>\n");
    return out;
}

}  // namespace ko::cli
