#include "kestrel/app/load_warning.h"

#include "common/text.h"
#include "kestrel/messages.h"

namespace kestrel::app {

void WarnIfCut(const LoadCuts& cuts, std::u16string_view path, int rows, int columns,
               ko::Reporter& reporter, ko::OwnerWindow owner) {
    if (cuts.Fits()) return;
    ko::ShowMessage(reporter, owner, messages::kCutLoad, ko::box::kOk | ko::box::kIconWarning,
                    {path, rows, columns});
}

void WarnIfUndecodable(const LoadCuts& cuts, int side, std::u16string_view path,
                       ko::Reporter& reporter, ko::OwnerWindow owner) {
    if (cuts.undecodable == 0) return;
    ko::ShowMessage(reporter, owner, messages::kUndecodableLoad,
                    ko::box::kOk | ko::box::kIconWarning,
                    {side == 0 ? u"Ａ" : u"Ｂ", path, cuts.undecodable});
}

}  // namespace kestrel::app
