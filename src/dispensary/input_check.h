// The input checks of the dispensary windows: before a write, each window runs its
// checks in a fixed order, and the first that fails shows its message and puts the
// focus on the box to correct.
#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace forms { class TextBox; }

namespace dispensary {

// One step of an input check: when `fails` holds, `message` is shown and `box` gets
// the focus (its whole text selected when `selectAll`). Later steps may rely on the
// earlier ones having passed: `fails` runs only when every step before it passed.
struct InputCheck {
    std::function<bool()> fails;
    QString message;
    forms::TextBox* box;
    bool selectAll;
};

// Runs `checks` in order; true when all passed, false after the first failure has
// been shown.
bool passesChecks(const std::vector<InputCheck>& checks);

}  // namespace dispensary
