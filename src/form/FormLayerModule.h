#pragma once
// The fillable PDF's AcroForm layer from its module, loaded the first time it is needed and kept
// for the rest of the run.
#include "pdfform/FormLayer.h"

#include <QString>

namespace form {

// tenvoria-pdfform.so beside the running executable, where the build puts it, or else where the
// installation does.
QString defaultFormLayerModule();

// The layer of the module at `path` (loaded once, then the same table again). A module that cannot
// be loaded, lacks the entry or was built for another version throws base::Failure naming the file
// and the cause.
const pdfform::FormLayer &loadFormLayer(const QString &path = defaultFormLayerModule());

} // namespace form
