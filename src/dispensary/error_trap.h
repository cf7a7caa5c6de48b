// The error trap of the dispensary's handlers: the work runs, and any error it raises
// (the database's, the runtime's conversions, anything else) is shown as its
// description alone in an information box with an empty title. No exception leaves a
// handler through here, and the program never ends on an error.
#pragma once

#include <QString>
#include <exception>
#include <functional>

namespace dispensary {

// The description an error carries (dao::Error, vb::Error, or the text of any other).
QString errorDescription(const std::exception& error);

// Runs `work`; true when it ran through, false after its error has been shown.
bool runTrapped(const std::function<void()>& work);

}  // namespace dispensary
