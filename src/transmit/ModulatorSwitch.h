#pragma once
// What the transmitter switch asks of the sound card modem: a fresh
// modulator thread at transmitter ON, and its end at transmitter OFF.

class ModulatorSwitch {
public:
    virtual ~ModulatorSwitch() = default;
    virtual void StartModulator() = 0;
    virtual void StopModulator() = 0;
};
