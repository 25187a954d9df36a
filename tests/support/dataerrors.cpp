#include "support/dataerrors.h"

#include <QtTest>

bool expectDataError(const std::optional<QString>& message, DataErrorMessage::Match match, const QString& text,
                     const char* statement, const char* textExpression, const char* file, int line) {
    if (!message) {
        QTest::qFail(QByteArray(statement).append(" threw no DataError").constData(), file, line);
        return false;
    }
    const QByteArray actual = QByteArray("DataError message of ").append(statement);
    switch (match) {
    case DataErrorMessage::Equals:
        return QTest::qCompare(*message, text, actual.constData(), textExpression, file, line);
    case DataErrorMessage::Contains:
        return QTest::qVerify(message->contains(text),
                              QByteArray(actual).append(" contains ").append(textExpression).constData(),
                              qPrintable(*message), file, line);
    case DataErrorMessage::StartsWith:
        return QTest::qVerify(message->startsWith(text),
                              QByteArray(actual).append(" starts with ").append(textExpression).constData(),
                              qPrintable(*message), file, line);
    }
    return false;
}
