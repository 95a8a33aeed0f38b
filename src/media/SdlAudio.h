#pragma once

#include <future>

namespace lexora {

// SDL's audio subsystem, started on first need and stopped with its owner. A machine without audio
// is remembered as such and not asked again.
class SdlAudioSubsystem
{
public:
    SdlAudioSubsystem() = default;
    ~SdlAudioSubsystem();
    SdlAudioSubsystem(const SdlAudioSubsystem&) = delete;
    SdlAudioSubsystem& operator=(const SdlAudioSubsystem&) = delete;

    bool ensure();
    // Starts the subsystem on a worker thread and opens and closes a device there once, so that the
    // first sound finds SDL's start-up (its audio back end and its desktop-bus connection) done;
    // ensure() waits for it.
    void startInBackground();

private:
    enum class State
    {
        Untried,
        Ready,
        Unavailable
    };
    State m_state = State::Untried;
    std::future<bool> m_started;
};

// An open SDL audio device, closed on destruction.
class SdlDevice
{
public:
    SdlDevice() = default;
    explicit SdlDevice(unsigned id) : m_id(id) {}
    ~SdlDevice() { reset(); }
    SdlDevice(SdlDevice&& other) noexcept : m_id(other.m_id) { other.m_id = 0; }
    SdlDevice& operator=(SdlDevice&& other) noexcept;
    SdlDevice(const SdlDevice&) = delete;
    SdlDevice& operator=(const SdlDevice&) = delete;

    unsigned id() const { return m_id; }
    explicit operator bool() const { return m_id != 0; }
    void reset();

private:
    unsigned m_id = 0;
};

} // namespace lexora
