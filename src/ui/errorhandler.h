#pragma once
// The application's standard error handler, as the windows call it: the
// core's (core/io/errorreport.h), which start-up uses too.
#include "core/io/errorreport.h"

namespace ErrorHandler {
using ErrorReport::run;
using ErrorReport::showCurrent;
}   // namespace ErrorHandler
