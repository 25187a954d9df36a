#pragma once
// The standard way an error reaches the user: an error of the data layer (or
// any other exception) that escapes a command is shown through the prompter
// with its own message; the command stops there and what was written stays
// written. Windows and start-up alike run their commands under it.
#include <exception>
#include <utility>

#include "core/io/dataerror.h"

class Prompter;

namespace ErrorReport {
// Shows the message of the exception being handled through the prompter
// (call from a catch block).
void showCurrent(Prompter& prompter);
// Runs a command under the handler: returns false when it stopped on an error.
template <class F>
bool run(Prompter& prompter, F&& f) {
    try {
        std::forward<F>(f)();
        return true;
    } catch (...) {
        showCurrent(prompter);
        return false;
    }
}
}   // namespace ErrorReport
