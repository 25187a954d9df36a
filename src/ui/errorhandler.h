#pragma once
// The application's standard error handler: an error of the data layer (or
// any other exception) that escapes a command is shown in a message box with
// its own message; the command stops there and what was posted stays posted.
#include <exception>
#include <utility>

#include "core/dbf/dataerror.h"

namespace ErrorHandler {
// Shows the message of the exception being handled (call from a catch block).
void showCurrent();
// Runs a command under the handler: returns false when it stopped on an error.
template <class F>
bool run(F&& f) {
    try {
        std::forward<F>(f)();
        return true;
    } catch (...) {
        showCurrent();
        return false;
    }
}
}
