#pragma once
// Where a sound device id leads: -1 (Auto Mode) to TARVIK_SOUND or ALSA's
// "default", card k (0..3) to TARVIK_SOUND<k+1> or "plughw:k". A name of the
// form "wav:PATH" selects the WAV file device instead of ALSA.

#include <memory>
#include <string>

class AudioOutput;

std::string SoundDeviceName(int deviceId);

// The device behind a name: the WAV file device for "wav:PATH", else ALSA.
std::unique_ptr<AudioOutput> MakeAudioOutput(const std::string& name);
