#pragma once

namespace automation {
class ApplicationFactory;
}

namespace generator {

// Whether an instance of the word-processing engine is already alive for this user. Every
// failure means no.
bool isWordOpen(automation::ApplicationFactory &factory);

// Asks whether to go on when an instance is alive; true means the run must stop. Only Yes goes on.
bool stopIfWordOpen(automation::ApplicationFactory &factory);

} // namespace generator
