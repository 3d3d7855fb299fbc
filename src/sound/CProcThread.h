#pragma once
// The modulator thread of the sound card modem: from transmitter-on to
// transmitter-off it takes one code at a time from the program state's
// hand-over queue (an idle frame when none waits), keys it into one character
// frame of FSK and plays it; the sound device's full ring paces it to the air.
// Owns, while it runs, the sample buffer, the keyer, the output stage and the
// sound device. Its message boxes go through the window's Controls; on a
// device that cannot be opened it runs the transmitter-off it was started with.

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "sound/CGenerators.h"
#include "sound/CMSKGen.h"
#include "sound/CSound.h"

class Controls;
class EventLog;
struct ProgramState;

class CProcThread {
public:
    using TransmitterOff = std::function<void()>;

    CProcThread(ProgramState& state, Controls& window, EventLog& log, CSound::DeviceFactory devices = {});
    virtual ~CProcThread();
    CProcThread(const CProcThread&) = delete;
    CProcThread& operator=(const CProcThread&) = delete;

    // Samples of one character frame: start, data bits and stop elements (1.5
    // for 5 data bits, else 2) at `baud`; 0 when the speed gives none.
    static int FrameLength(float baud, unsigned sampleRate, int dataBits);

    // Starts the thread (once per object), clearing modulatorStop.
    void Start(TransmitterOff owner);
    // True from Start until the thread body has returned.
    bool Running() const { return running_; }
    bool IsCurrentThread() const { return threadId_ == std::this_thread::get_id(); }
    // Joins a thread that is no longer running.
    void Join();

    void Run();
    void ShowSoundError(int code);
    void ReleaseAll();
    // Releases everything; the thread body returns right after.
    void AbortRun();

private:
    bool openDevice(int frameLength);
    bool playFrame(int frameLength, int code);

    ProgramState& state_;
    Controls& window_;
    EventLog& log_;
    CSound::DeviceFactory devices_;
    TransmitterOff owner_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<std::thread::id> threadId_{};

    std::unique_ptr<double[]> samples;
    double outputGain = 0.0;
    std::unique_ptr<CSound> device;
    std::unique_ptr<CGenerators> outputStage;
    std::unique_ptr<CMSKGen> keyer;
};
