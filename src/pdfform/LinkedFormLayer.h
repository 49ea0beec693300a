#pragma once
// The fillable PDF's AcroForm layer linked in (tenvoria_pdfform_qpdf), for the programs that may
// carry qpdf from their start: the render tool, tests and benches. The module exports the same
// table.
#include "FormLayer.h"

namespace pdfform {

const FormLayer &linkedFormLayer();

} // namespace pdfform
