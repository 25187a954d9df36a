#pragma once
// The application's standard error handler: an error of the data layer (or
// any other exception) that escapes a command is shown in a message box with
// its own message; the command stops there and what was posted stays posted.
#include <exception>
#include <utility>

#include "core/io/dataerror.h"

class Prompter;

namespace ErrorHandler {
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
}
