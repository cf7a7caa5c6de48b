// Errors of the office stand-ins: the old runtime's error (number and Chinese
// description), as the automation calls raised them into the windows' error traps.
#pragma once

#include "platform/vb/error.h"

namespace office {

using Error = vb::Error;

}  // namespace office
