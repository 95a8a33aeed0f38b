#include "speech/SpeechModule.h"

#include "speech/SphinxChecker.h"

namespace {

// The model itself is loaded by the checker's prepare() or first check.
lexora::ReadingChecker* MakeChecker()
{
    return new lexora::SphinxChecker;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const lexora::SpeechModule* lexora_speech_module()
{
    static const lexora::SpeechModule module{lexora::SpeechModule::kVersion, MakeChecker};
    return &module;
}
