// Stands in for the open-file dialog: remembers what it was asked and answers with a prepared
// text (units after a 0 unit included) and file-name offset, or cancels.
#pragma once

#include <algorithm>
#include <string>

#include "kestrel/app/file_selection.h"

namespace kestrel::app::testing {

struct ScriptedFileDialog final : OpenFileDialog {
    bool Show(OpenFileRequest& request) override {
        asked = request;
        if (confirm) {
            std::fill(std::begin(request.file), std::end(request.file), u'\0');
            std::copy(answer.begin(), answer.end(), request.file);
            request.fileOffset = offset;
        }
        return confirm;
    }

    // Confirms `path`, whose file name starts after its last backslash.
    void Choose(const std::u16string& path) {
        confirm = true;
        answer = path;
        offset = static_cast<int>(path.rfind(u'\\') + 1);
    }

    OpenFileRequest asked;
    bool confirm = true;
    std::u16string answer;
    int offset = 0;
};

}  // namespace kestrel::app::testing
