// The texts of the message boxes, named, with their captions. Every text a program can show
// stands in a table: this one for what both programs show, kestrel/messages.h and
// osprey/messages.h for each program's own. The code reports through these names, and the
// manuals' check (scripts/manuals) reads the three files to find every text in the manual of
// its program, so a text that changes here must change in the manual too.
#pragma once

#include <initializer_list>
#include <string_view>

#include "common/report.h"
#include "common/text.h"

namespace ko {

struct Message {
    std::u16string_view text;
    std::u16string_view caption;
};

// Shows `message` in `style`, its text filled with `args` as Format fills it; returns the answer.
inline int ShowMessage(Reporter& reporter, OwnerWindow owner, const Message& message,
                       unsigned style, std::initializer_list<FormatArg> args = {}) {
    if (args.size() == 0) return reporter.Show(owner, message.text, message.caption, style);
    return reporter.Show(owner, Format(message.text, args), message.caption, style);
}

namespace messages {

// A number typed into a dialog lies outside its field's range.
inline constexpr Message kOutOfRange{u"Input value out of specified range", u"Setting error"};
// Filled with the manual's file name.
inline constexpr Message kManualNotFound{u"%sが見つかりません。", u"残念！"};
// Saving the settings at exit failed: filled with the settings file's name and its folder.
inline constexpr Message kSettingsNotSaved{
    u"%sを保存できませんでした。変更した設定は失われます。\r\nフォルダ：%s\r\n"
    u"設定ファイルは起動したフォルダに置かれます。書き込みのできるフォルダから起動してください。",
    u"設定の保存"};
// Filled with the path and the system's error code; each program has its own captions.
inline constexpr std::u16string_view kCantOpenFile = u"Can't open %s file\r\nErrCode=%d";
inline constexpr std::u16string_view kCantCloseFile = u"Can't close %s file\r\nErrCode=%d";

}  // namespace messages

}  // namespace ko
