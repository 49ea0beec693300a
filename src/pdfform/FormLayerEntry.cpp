// The module's one exported function; everything else in it stays hidden.
#include "LinkedFormLayer.h"

extern "C" __attribute__((visibility("default"))) const pdfform::FormLayer *tenvoria_pdfform_layer(int version)
{
    return version == pdfform::kFormLayerVersion ? &pdfform::linkedFormLayer() : nullptr;
}
