#pragma once
// A failure that carries a description meant for the person using the program. It needs nothing
// but Qt Core, so the engine and its file formats report failures without the window layer; the
// application's own error (runtime::AppError) is one too, and an error trap reports either by its
// description.
#include <QString>

#include <stdexcept>

namespace base {

class Failure : public std::runtime_error {
public:
    explicit Failure(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    const QString &description() const noexcept { return m_description; }

private:
    QString m_description;
};

} // namespace base
