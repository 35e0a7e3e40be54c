// Every message-box text Kestrel shows, with its caption, beside the shared ones of
// common/messages.h. The manual's check reads this table (see common/messages.h).
#pragma once

#include "common/messages.h"

namespace kestrel::messages {

using ko::Message;

// Loading a side and comparing.
inline constexpr Message kNoFileName{u"Please set the file name", u"Failure"};
inline constexpr Message kFileOpenError{ko::messages::kCantOpenFile, u"FileOpenError"};
inline constexpr Message kFileCloseError{ko::messages::kCantCloseFile, u"FileCloseError"};
inline constexpr Message kMatch{u"一致しました", u"比較完了"};
inline constexpr Message kMismatch{u"不一致です", u"比較完了"};
inline constexpr Message kAlreadyCompared{u"既に比較済みです", u"比較"};
inline constexpr Message kAlreadyRestored{u"既に復元済みです", u"復元"};
inline constexpr Message kRestartPlease{u"アプリを再起動をお願いします", u"環境設定の変更"};
// After a load that could not keep the whole file: the file, the grid's rows and columns.
inline constexpr Message kCutLoad{
    u"%s\r\nは一部しか読み込めませんでした。行数 %d・桁数 %d を超えた部分、NUL "
    u"より後ろ、UTF-16 の最後の半端な 1 バイトは比較されません。",
    u"読込注意"};
// After a load with bytes that are no character in the file's encoding: the side ("Ａ" or
// "Ｂ"), the file, the number of lines. A note on decoding, not on the comparison.
inline constexpr Message kUndecodableLoad{
    u"ファイル%s（%s）の %d 行に、文字として読めないバイトがありました。BOM のない UTF-8 "
    u"など、別の文字コードで書かれたファイルと思われます。読めないバイトは「・」などに"
    u"置き換えて表示されるので、違うバイトが同じに見えることがあります。これは読み込みに"
    u"ついてのお知らせで、ファイルが違うという意味ではありません。",
    u"読込注意（文字コード）"};
// kestrel-cli, when the grids matched but the files' bytes differ where they could not be
// decoded or hold a character under another of its codes.
inline constexpr Message kEqualOnlyAsShown{
    u"表示のうえでは一致しましたが、ファイルのバイトは一致しません。文字として読めない"
    u"バイトや、同じ文字を表す別のコードの違いは表示に現れません。",
    u"読込注意（文字コード）"};

// Files dropped on the window or named bare on the command line that cannot go to the sides.
inline constexpr Message kOneOrTwoFiles{
    u"ファイルを１つか２つ指定してください。フォルダと259文字を超えるパスは開けません。",
    u"ファイル指定"};

// Window creation: the grids and the view's back buffers.
inline constexpr Message kOutOfMemory{
    u"Failed to allocate the specified number of bytes from the heap.", u"Failure"};
inline constexpr Message kNoMemoryDc{u"Failed to create memory DC.", u"Failure"};
inline constexpr Message kNoBitmap{
    u"A bitmap could not be created in the specified device context.", u"Failure"};
inline constexpr Message kWrongSide{u"Wrong mode selection", u"Failure"};

// Bounds reports of the grid reads.
inline constexpr Message kRowOutsideRowLength{u"iy value is over iy=%d:%d", u"memwcslen error"};
inline constexpr Message kRowOutsideColourRun{u"iy value is over iy=%d:%d", u"memcolorlen error"};
inline constexpr Message kColumnOutsideColourRun{u"ix value is over ix=%d:%d",
                                                 u"memcolorlen error"};
inline constexpr Message kModeOutsideColourRun{u"mode value is over mode=%d:0-5",
                                               u"memcolorlen error"};

}  // namespace kestrel::messages
