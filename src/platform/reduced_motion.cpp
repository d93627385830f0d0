#include "platform/reduced_motion.h"

namespace zorvik {

// Placeholder until the desktop preference is read: no preference.
bool ReducedMotion::preferred()
{
    return false;
}

} // namespace zorvik
