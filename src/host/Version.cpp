#include "host/Version.h"

namespace host {

const char* Version() {
    return VANTREL_VERSION;
}

} // namespace host
