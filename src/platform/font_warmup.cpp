#include "platform/font_warmup.h"

#if ZORVIK_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace zorvik {

FontWarmup::FontWarmup()
{
#if ZORVIK_HAVE_FONTCONFIG
    // FcInit installs the configuration it loads as the process's current one with an atomic
    // swap: should Qt ask first, it loads its own and one of the two is dropped, no harm done.
    m_thread = std::thread([] { FcInit(); });
#endif
}

FontWarmup::~FontWarmup()
{
    finish();
}

void FontWarmup::finish()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace zorvik
