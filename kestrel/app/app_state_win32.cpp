#include "kestrel/app/app_state_win32.h"

namespace kestrel::app {

KestrelApp& App() {
    // Made on first use: the grids and the comparison's scratch storage only grow when the
    // window allocates them.
    static KestrelApp app;
    return app;
}

}  // namespace kestrel::app
