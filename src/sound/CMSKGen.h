#pragma once
// The keyer and oscillator of the sound card modem: turns one teletype code
// into exactly one character frame of continuous-phase FSK samples (lower
// tone mark, upper tone space), amplitude sqrt(2). A character's bits run
// from its frame's start, the stop element to the frame's end; the
// oscillator phase is the program state's tonePhase,
// shared by every keyer of the run. Created and used by the modulator thread.

struct ProgramState;

class CMSKGen {
public:
    explicit CMSKGen(ProgramState& state);
    virtual ~CMSKGen() = default;

    // Tones from the state's halfShift around `centre`, then a fresh bit clock at BAUD.
    void Init(unsigned sampleRate, double centre);
    void SetTones(unsigned sampleRate, double centre);
    // One frame of `count` samples for `code` (0: idle, all mark) of `dataBits` 5..8.
    void Generate(double* buffer, int count, int code, int dataBits);

    // The eight elements after the start bit, least significant first.
    static int CharacterPattern(int code, int dataBits);

private:
    ProgramState& state_;
    double twoPi;
    double sampleStep = 0.0;
    // Time into the frame of the sample being made.
    double bitClock = 0.0;
    double bitPeriod = 0.0;
    double spaceIncrement = 0.0;
    double markIncrement = 0.0;
};
