#pragma once
#include <QString>
#include <stdexcept>

namespace shell {

// The one failure type of the program: a description meant for the error report.
// Statements that fail throw it; the nearest error trap up the call chain reports it.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    const QString &description() const noexcept { return m_description; }

private:
    QString m_description;
};

} // namespace shell
