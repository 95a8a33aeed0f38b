#pragma once

namespace lexora {

class ReadingChecker;

// What the speech module gives the program: the spoken-word check. It lives in a module of its own
// because the recogniser pulls in a dozen libraries (numeric ones among them) that a child who never
// records has no need of; the program loads it when a reading is first to be checked.
// The checker is the caller's to delete; the module stays loaded for the life of the process.
struct SpeechModule
{
    static constexpr int kVersion = 1;
    int version;
    ReadingChecker* (*makeChecker)();
};

// The name of the module's one exported function, returning its SpeechModule.
inline constexpr char kSpeechModuleEntry[] = "lexora_speech_module";
// Its file name, beside the program in a portable tree or in the program's library folder once
// installed.
inline constexpr char kSpeechModuleFile[] = "lexora-speech.so";

} // namespace lexora
