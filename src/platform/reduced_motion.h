#pragma once

namespace zorvik {

// The desktop's reduce-motion preference, read anew at every call.
class ReducedMotion {
public:
    static bool preferred();
};

} // namespace zorvik
