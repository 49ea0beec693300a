#pragma once
#include <QString>

#include "WarmUp.h"

namespace runtime {

// The fontconfig configuration the program reads its fonts through: `fonts.conf` beside the
// executable, which leaves out the faces of weights and widths the program never draws. Set
// before the first use of fonts (before the application object). A configuration the user chose
// (FONTCONFIG_FILE already set) or a missing file leaves fontconfig as it is. Returns the file
// used, or an empty string.
QString useProgramFontConfiguration(const QString &executablePath);

// Loads fontconfig's configuration and its caches of the installed fonts on a second thread,
// while the application object starts on the first: each takes several milliseconds, and the
// first text drawn needs both. Start it after useProgramFontConfiguration() and wait() for it
// before the first use of fonts; the destructor waits too.
class FontconfigWarmUp : public WarmUp {
public:
    FontconfigWarmUp();
};

} // namespace runtime
