#pragma once

namespace automation {
class ApplicationFactory;
}

namespace generator {

// Whether an instance of the word-processing engine is already alive for this user. Every
// failure means no.
bool IsWordOpen(automation::ApplicationFactory &factory);

// Asks whether to go on when an instance is alive; true means the run must stop. Only Yes goes on.
bool StopIfWordOpen(automation::ApplicationFactory &factory);

} // namespace generator
