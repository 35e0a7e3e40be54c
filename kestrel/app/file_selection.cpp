#include "kestrel/app/file_selection.h"

#include <algorithm>
#include <string_view>

#include "common/extension_groups.h"
#include "kestrel/messages.h"

namespace kestrel::app {

namespace {

constexpr char16_t kBackslash = u'\\';

std::u16string_view UpToZero(const char16_t* text, std::size_t units) {
    return std::u16string_view(text, std::find(text, text + units, u'\0') - text);
}

char16_t* RememberedFolder(ko::Settings& settings, int side) {
    return side == 0 ? settings.fileA_folder_select : settings.fileB_folder_select;
}

// Appends the rows of the selected group as display text / pattern pairs. An entry that would
// not leave room for the list's final 0 unit ends the list.
void BuildFilter(const ko::Settings& settings, char16_t (&filter)[kFilterUnits]) {
    std::fill(std::begin(filter), std::end(filter), u'\0');
    std::size_t used = 0;
    for (const int row : ko::RowsOfGroup(settings.groups, settings.failExt_no)) {
        const ko::ExtensionGroup& group = settings.groups[row];
        const std::u16string_view display =
            UpToZero(group.displayText, std::size(group.displayText));
        const std::u16string_view pattern =
            UpToZero(group.searchPattern, std::size(group.searchPattern));
        const std::size_t entry = display.size() + 1 + pattern.size() + 1;
        if (used + entry + 1 > kFilterUnits) break;
        used = std::copy(display.begin(), display.end(), filter + used) - filter + 1;
        used = std::copy(pattern.begin(), pattern.end(), filter + used) - filter + 1;
    }
}

}  // namespace

void PrepareOpenFileRequest(const ko::Settings& settings, int side, ko::OwnerWindow owner,
                            OpenFileRequest& request) {
    request = OpenFileRequest{};
    request.owner = owner;
    std::u16string initial(UpToZero(
        side == 0 ? settings.fileA_folder_select : settings.fileB_folder_select, ko::kPathUnits));
    if (initial.empty() || initial.back() != kBackslash) initial += kBackslash;
    if (const int first = ko::FirstRowOfGroup(settings.groups, settings.failExt_no); first >= 0) {
        const ko::ExtensionGroup& group = settings.groups[first];
        initial += UpToZero(group.searchPattern, std::size(group.searchPattern));
    }
    // 259 + 1 + 29 units always fit 780; the cut only guards the terminator.
    std::copy_n(initial.begin(), std::min<std::size_t>(initial.size(), kFileNameUnits - 1),
                request.file);
    BuildFilter(settings, request.filter);
    request.title = side == 0 ? u"ファイルＡの選択" : u"ファイルＢの選択";
    request.flags = kOpenFileFlags;
}

std::optional<std::u16string> AcceptChosenFile(const OpenFileRequest& answer, int side,
                                               ko::Settings& settings) {
    const int offset = answer.fileOffset;
    if (offset < 0 || offset >= ko::kPathUnits) return std::nullopt;
    std::u16string_view folder = UpToZero(answer.file, static_cast<std::size_t>(offset));
    const bool needs_backslash = folder.empty() || folder.back() != kBackslash;
    // A folder of 259 units without a backslash has no room for one.
    if (needs_backslash && folder.size() + 1 >= ko::kPathUnits) return std::nullopt;
    char16_t* remembered = RememberedFolder(settings, side);
    std::fill_n(remembered, ko::kPathUnits, u'\0');
    std::copy(folder.begin(), folder.end(), remembered);
    if (needs_backslash) remembered[folder.size()] = kBackslash;
    return std::u16string(UpToZero(answer.file, kFileNameUnits));
}

void RememberFolderOf(std::u16string_view path, int side, ko::Settings& settings) {
    const std::size_t last = path.rfind(kBackslash);
    if (last == path.npos || path.size() >= kFileNameUnits) return;
    OpenFileRequest answer;
    std::copy(path.begin(), path.end(), answer.file);
    answer.fileOffset = static_cast<int>(last + 1);
    AcceptChosenFile(answer, side, settings);
}

std::optional<std::u16string> SelectFile(ko::OwnerWindow owner, int side, ko::Settings& settings,
                                         OpenFileDialog& dialog, ko::Reporter& reporter) {
    if (side != 0 && side != 1) {
        ko::ShowMessage(reporter, owner, messages::kWrongSide, ko::box::kIconError);
        return std::nullopt;
    }
    OpenFileRequest request;
    PrepareOpenFileRequest(settings, side, owner, request);
    if (!dialog.Show(request)) return std::nullopt;
    return AcceptChosenFile(request, side, settings);
}

}  // namespace kestrel::app
