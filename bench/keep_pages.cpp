// Preloaded into Lexora by the start-up bench to see its memory without the release of font pages:
// madvise(MADV_DONTNEED) does nothing. The heap does not call it (one arena, grown with brk).
#include <cstddef>
#include <dlfcn.h>
#include <sys/mman.h>

extern "C" int madvise(void* addr, std::size_t length, int advice)
{
    if (advice == MADV_DONTNEED)
        return 0;
    using Madvise = int (*)(void*, std::size_t, int);
    static const auto real = reinterpret_cast<Madvise>(dlsym(RTLD_NEXT, "madvise"));
    return real(addr, length, advice);
}
