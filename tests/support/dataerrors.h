#pragma once
// Checking the DataError that a statement throws: its message equals,
// contains or starts with a given text.
//
//     EXPECT_DATA_ERROR(Equals, QStringLiteral("Le champ ..."), t.open());
//
// A statement that throws no DataError, or a message that does not match, is
// a failure reported at the line of the check, and the test function returns
// there, as after a failed QCOMPARE. Other exceptions go through.
#include <QString>

#include <optional>
#include <utility>

#include "core/io/dataerror.h"

namespace DataErrorMessage {
enum Match { Equals, Contains, StartsWith };
}

// The message of the DataError that f throws, or no value when f returns.
template <class F>
std::optional<QString> dataErrorOf(F&& f) {
    try {
        std::forward<F>(f)();
    } catch (const DataError& e) {
        return e.message();
    }
    return std::nullopt;
}

// Records a failure at file:line unless message holds a DataError message
// that matches text; returns whether it does. statement and textExpression
// are the source texts shown in the failure.
bool expectDataError(const std::optional<QString>& message, DataErrorMessage::Match match, const QString& text,
                     const char* statement, const char* textExpression, const char* file, int line);

// The statement comes last so that it may hold commas.
#define EXPECT_DATA_ERROR(match, text, ...)                                                                  \
    do {                                                                                                     \
        if (!expectDataError(dataErrorOf([&] { __VA_ARGS__; }), DataErrorMessage::match, text, #__VA_ARGS__, \
                             #text, __FILE__, __LINE__))                                                     \
            return;                                                                                          \
    } while (false)
