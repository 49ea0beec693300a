#pragma once
#include <QString>

namespace automation {
class ApplicationFactory;
}

namespace entry {

// "Error 842001. ..." with the four things to examine, each after an empty line.
QString wordMissingMessage();

// Proves once per run that a word-processor instance can be created: creates one and quits it.
// When none can be created it shows wordMissingMessage() under the application title and ends
// the program; it then returns false only when a test keeps the process alive. Errors of its
// own are silenced.
bool checkWordAvailable(automation::ApplicationFactory &factory);

} // namespace entry
