#pragma once
// The fillable PDF's AcroForm layer linked in (tenvoria_pdfform), for the programs that may carry
// qpdf from their start: tests, benches and the fuzz target. The module exports the same table.
#include "FormLayer.h"

namespace pdfform {

const FormLayer &linkedFormLayer();

} // namespace pdfform
