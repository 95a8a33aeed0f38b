#pragma once

namespace lexora {

class Clock;
class MediaFiles;
class Prompter;
class Random;
class SoundPlayer;
class Transition;
class VoiceRecorder;
class WordStore;

// What every view works with: the word store, the media layer built over the injected services, and
// the services themselves. Built once in main; tests build it over fakes.
struct ViewContext
{
    WordStore& store;
    Prompter& prompter;
    Clock& clock;
    Random& random;
    MediaFiles& media;
    SoundPlayer& sound;
    VoiceRecorder& recorder;
    Transition& transition;
};

} // namespace lexora
