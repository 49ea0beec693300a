#include "EngineSetup.h"

#include "wordproc/engine/BuiltinEngine.h"

namespace app {

automation::ApplicationFactory &engineFactory()
{
    static wordproc::BuiltinApplicationFactory factory;
    return factory;
}

} // namespace app
