#pragma once
// The output stage of the sound card modem: brings the keyer's samples to the
// output level. Holds no state; used by the modulator thread.

class CGenerators {
public:
    // The level of the station's FSK output: a peak of about 6702 (4739 x sqrt 2).
    static constexpr double kOutputGain = 4739.0;

    virtual ~CGenerators() = default;
    void ApplyGain(int count, double* buffer, double gain);
};
