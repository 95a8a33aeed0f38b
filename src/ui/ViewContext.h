#pragma once

namespace lexora {

class Clock;
class MediaFiles;
class Prompter;
class Random;
class ReadingChecker;
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
    // Runs pending events with the learner's clicks and keys let through, where a long run of sounds
    // must stay interruptible.
    Clock& inputClock;
    Random& random;
    MediaFiles& media;
    SoundPlayer& sound;
    VoiceRecorder& recorder;
    Transition& transition;
    // Judges the learner's readings; none where no recogniser is built in (nothing is then judged).
    ReadingChecker* readingChecker = nullptr;
};

} // namespace lexora
