#pragma once
// A raised run-time error as the program's callers see it: number, source
// and description. Thrown by value, caught by reference.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <exception>
#include <utility>

struct VbError : std::exception {
    int32_t number = 0;
    QString source;
    QString description;

    VbError() = default;
    VbError(int32_t errNumber, QString errSource, QString errDescription)
        : number(errNumber), source(std::move(errSource)), description(std::move(errDescription)),
          m_what(description.toUtf8())
    {
    }

    // The description as it was when the error was made.
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QByteArray m_what;
};
