#pragma once

#include "media/MediaFiles.h"
#include "media/RecordDevice.h"
#include "media/SoundPlayer.h"
#include "media/Transition.h"
#include "media/VoiceRecorder.h"
#include "store/WordStore.h"
#include "ui/ViewContext.h"

namespace lexora {

class CaptureDevice;
class Clock;
class Prompter;
class Random;
class ReadingChecker;
class ShellOpener;
class SoundOut;

// The injected services: the Qt and SDL adapters in the program, fakes in tests.
struct Services
{
    Prompter& prompter;
    Clock& clock;
    // The slide transition's clock: it lets the learner's clicks through between frames.
    Clock& transitionClock;
    Random& random;
    SoundOut& soundOut;
    CaptureDevice& capture;
    ShellOpener& shell;
    ReadingChecker* readingChecker = nullptr;
};

// The program-wide objects built over the services: the word store and the media layer.
class Program
{
public:
    Program(const Locations& locations, const Services& services);
    // A portable program folder.
    Program(const QString& programFolder, const Services& services);

    ViewContext context();
    const Services& services() const { return m_services; }

    Services m_services;
    WordStore store;
    MediaFiles media;
    SoundPlayer sound;
    RecordDevice device;
    VoiceRecorder recorder;
    Transition transition;
};

} // namespace lexora
