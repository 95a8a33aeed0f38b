#pragma once

#include "media/WavFile.h"

#include <cstdint>
#include <vector>

namespace lexora {

// What the recogniser listens to: 16-bit mono at 16000 samples per second.
constexpr int kRecognizerRate = 16000;

// The reading converted for the recogniser by SDL's resampler; empty when SDL cannot convert it.
std::vector<std::int16_t> RecognizerSamples(const WavAudio& audio);

// How long the reading has voice in it, in milliseconds: 10 ms frames clearly above both an absolute
// floor and the reading's own background level.
int VoicedMilliseconds(const std::vector<std::int16_t>& samples);

// The stretch of the reading worth judging, at one level: the loudest run of voice (short gaps inside
// a word or phrase bridged, clicks too short to be speech left out) with a little quiet on each side,
// scaled so that its loudest moment lies at a fixed level. The reading as it is when it holds no voice.
std::vector<std::int16_t> SpeechStretch(const std::vector<std::int16_t>& samples);

} // namespace lexora
