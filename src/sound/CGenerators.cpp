#include "sound/CGenerators.h"

void CGenerators::ApplyGain(int count, double* buffer, double gain) {
    for (int i = 0; i < count; ++i) buffer[i] *= gain;
}
