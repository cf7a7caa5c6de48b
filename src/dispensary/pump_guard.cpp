// The guard of handlers that let events run; see pump_guard.h.
#include "dispensary/pump_guard.h"

#include "platform/forms/form.h"

namespace dispensary {

PumpGuard::Scope::~Scope()
{
    if (--guard_.runningHandlers_ > 0 || !guard_.unloadWaiting_) return;
    guard_.unloadWaiting_ = false;
    guard_.window_.Unload();
}

bool PumpGuard::deferUnload()
{
    if (runningHandlers_ == 0) return false;
    unloadWaiting_ = true;
    return true;
}

}  // namespace dispensary
