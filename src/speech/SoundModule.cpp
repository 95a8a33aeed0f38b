#include "speech/SoundModule.h"

#include "media/SdlCaptureDevice.h"
#include "media/SdlSoundOut.h"
#include "speech/SphinxChecker.h"

namespace {

lexora::SoundOut* MakeSoundOut(lexora::Clock& clock)
{
    auto* out = new lexora::SdlSoundOut(clock);
    // SDL's own start-up (its audio back end, its bus connection) runs now, not at the first word.
    out->prepare();
    return out;
}

lexora::CaptureDevice* MakeCapture()
{
    return new lexora::SdlCaptureDevice;
}

// The model itself is loaded only when a reading is first checked.
lexora::ReadingChecker* MakeChecker()
{
    return new lexora::SphinxChecker;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const lexora::SoundModule* lexora_sound_module()
{
    static const lexora::SoundModule module{lexora::SoundModule::kVersion, MakeSoundOut, MakeCapture,
                                            MakeChecker};
    return &module;
}
