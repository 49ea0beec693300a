#include "EngineSetup.h"

#include "form/FormEngine.h"

namespace app {

form::FormEngine &engineFactory()
{
    static form::FormEngine factory;
    return factory;
}

} // namespace app
