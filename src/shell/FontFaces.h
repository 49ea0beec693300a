#pragma once
#include <QString>

namespace shell {

// The fontconfig configuration the program reads its fonts through: `fonts.conf` beside the
// executable, which leaves out the faces of weights and widths the program never draws. Set
// before the first use of fonts (before the application object). A configuration the user chose
// (FONTCONFIG_FILE already set) or a missing file leaves fontconfig as it is. Returns the file
// used, or an empty string.
QString useProgramFontConfiguration(const QString &executablePath);

} // namespace shell
