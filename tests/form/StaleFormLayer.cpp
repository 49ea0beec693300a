// A fillable PDF module as another version of the program builds it: its entry offers only a
// version of the functions that this program does not use.
#include "pdfform/FormLayer.h"

extern "C" __attribute__((visibility("default"))) const pdfform::FormLayer *tenvoria_pdfform_layer(int version)
{
    static const pdfform::FormLayer other{pdfform::kFormLayerVersion + 1, nullptr, nullptr};
    return version == other.version ? &other : nullptr;
}
