#pragma once
// The recent list lives below the windows (the disposal of expired files takes files off it too);
// the File menu keeps its name for it.
#include "record/RecentFiles.h"

namespace entry {
using RecentFiles = record::RecentFiles;
}
