#pragma once

namespace lexora {

class CaptureDevice;
class Clock;
class ReadingChecker;
class SoundOut;

// What the sound module gives the program: sound out and the microphone through SDL, and the spoken-word
// check. They live in a module of their own because SDL and the recogniser pull in some forty libraries;
// the program loads it on a worker thread while its window is built instead of before main().
// The objects are the caller's to delete; the module stays loaded for the life of the process.
struct SoundModule
{
    static constexpr int kVersion = 1;
    int version;
    SoundOut* (*makeSoundOut)(Clock& clock);
    CaptureDevice* (*makeCapture)();
    ReadingChecker* (*makeChecker)();
};

// The name of the module's one exported function, returning its SoundModule.
inline constexpr char kSoundModuleEntry[] = "lexora_sound_module";
// Its file name, beside the program in a portable tree or in the program's library folder once
// installed.
inline constexpr char kSoundModuleFile[] = "lexora-sound.so";

} // namespace lexora
