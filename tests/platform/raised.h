// The runtime error a call raises, so that a test checks its number and text in a line
// or two. Every error of the platform layer is a vb::Error.
#pragma once

#include "platform/vb/error.h"

#include <functional>

namespace testing {

// The error `call` raises; one numbered 0, with no text, when it raises none.
inline vb::Error raised(const std::function<void()>& call)
{
    try {
        call();
    } catch (const vb::Error& error) {
        return error;
    }
    return vb::Error(0, QString());
}

}  // namespace testing
