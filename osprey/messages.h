// Every message-box text Osprey shows, with its caption, beside the shared ones of
// common/messages.h. The manual's check reads this table (see common/messages.h).
#pragma once

#include "common/messages.h"

namespace osprey::messages {

using ko::Message;

// Comparing the pairs: side A's file, then side B's.
inline constexpr Message kFileOpenError1{ko::messages::kCantOpenFile, u"FileOpenError1"};
inline constexpr Message kFileOpenError2{ko::messages::kCantOpenFile, u"FileOpenError2"};
inline constexpr Message kFileCloseError1{ko::messages::kCantCloseFile, u"FileCloseError1"};
inline constexpr Message kFileCloseError2{ko::messages::kCantCloseFile, u"FileCloseError2"};

// 個別比較: the checks of the selection, in their order, all under kSelectionCaption, and the
// start of the file comparer.
inline constexpr std::u16string_view kSelectionCaption = u"選択ミス";
inline constexpr std::u16string_view kNoFileA = u"Ａ側ファイルがありません";
inline constexpr std::u16string_view kNoFileB = u"Ｂ側ファイルがありません";
inline constexpr std::u16string_view kNoSelectionA = u"Ａ側ファイルが選択していません";
inline constexpr std::u16string_view kNoSelectionB = u"Ｂ側ファイルが選択していません";
inline constexpr std::u16string_view kNotComparable = u"選択のファイルは個別照合出来ません";
inline constexpr Message kCannotRun{u"実行出来ませんでした。", u"残念！"};

// Folders dropped on the window or named on the command line that cannot go to the sides.
inline constexpr Message kOneOrTwoFolders{
    u"フォルダを１つか２つ指定してください。ファイルと259文字を超えるパスは開けません。",
    u"フォルダ指定"};

}  // namespace osprey::messages
