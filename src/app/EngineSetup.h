#pragma once

namespace automation {
class ApplicationFactory;
}

namespace app {

// The word-processing engine the program runs on.
automation::ApplicationFactory &engineFactory();

} // namespace app
