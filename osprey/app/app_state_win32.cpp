#include "osprey/app/app_state_win32.h"

namespace osprey::app {

OspreyApp& App() {
    static OspreyApp app;
    return app;
}

}  // namespace osprey::app
