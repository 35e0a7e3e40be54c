#include "common/handed_paths.h"

#include <algorithm>

#include "common/settings.h"

namespace ko {

std::u16string_view PathAt(std::u16string_view text, std::size_t from, std::size_t& end) {
    const bool quoted = from < text.size() && text[from] == u'"';
    if (quoted) ++from;
    end = std::min(text.find(quoted ? u'"' : u' ', from), text.size());
    return text.substr(from, end - from);
}

std::vector<std::u16string> BarePaths(std::u16string_view text) {
    std::vector<std::u16string> paths;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u' ') continue;
        const std::u16string_view path = PathAt(text, i, i);
        if (!path.empty()) paths.emplace_back(path);
    }
    return paths;
}

std::optional<SidePaths> PlaceHandedPaths(const std::vector<HandedPath>& paths, bool folders,
                                          int side) {
    if (paths.empty() || paths.size() > 2 || (side != 0 && side != 1)) return std::nullopt;
    for (const HandedPath& handed : paths)
        if (handed.folder != folders || handed.path.empty() ||
            handed.path.size() >= std::size_t{kPathUnits})
            return std::nullopt;
    SidePaths placed;
    if (paths.size() == 1) {
        placed[side] = paths[0].path;
    } else {
        placed = {paths[0].path, paths[1].path};
    }
    return placed;
}

}  // namespace ko
