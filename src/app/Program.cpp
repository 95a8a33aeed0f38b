#include "app/Program.h"

namespace lexora {

Program::Program(const Locations& locations, const Services& services)
    : m_services(services), store(locations, services.prompter, services.random),
      media(MediaFolders::fromStore(store)),
      sound(media, services.soundOut, services.clock, services.prompter, services.random, services.shell),
      device(services.capture), recorder(device, services.prompter), transition(services.transitionClock)
{}

Program::Program(const QString& programFolder, const Services& services)
    : Program(Locations::portable(programFolder), services)
{}

ViewContext Program::context()
{
    const Services& s = m_services;
    return {store, s.prompter, s.clock, s.transitionClock, s.random, media, sound, recorder, transition,
            s.readingChecker};
}

} // namespace lexora
