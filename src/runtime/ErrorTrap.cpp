#include "ErrorTrap.h"

#include "BuildConfig.h"
#include "MessageBoxes.h"

namespace runtime {

QString errorLocation(const QString &object, const QString &procedure)
{
    return QStringLiteral("in Quenlow2021/08/31.") + object + QLatin1Char('.') + procedure + QLatin1Char(' ');
}

QString composeErrorReport(const QString &description, const QString &location, int label,
                           const QString &supportEmail)
{
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") + QString::number(label)
        + QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ") + supportEmail;
}

namespace {
TrapProbe *g_probe = nullptr;
}

ScopedTrapProbe::ScopedTrapProbe(TrapProbe &probe) : m_previous(g_probe) { g_probe = &probe; }
ScopedTrapProbe::~ScopedTrapProbe() { g_probe = m_previous; }

bool ErrorTrap::probeFailsLine() const
{
    if (!g_probe || !g_probe->lineStarts(m_location, m_label))
        return false;
    report(QStringLiteral("Injected failure"));
    return true;
}

ErrorTrap::ErrorTrap(const QString &object, const QString &procedure)
    : m_location(errorLocation(object, procedure))
{
}

void ErrorTrap::report(const QString &description) const
{
    const QString text =
        composeErrorReport(description, m_location, m_label, QString::fromUtf8(build::kSupportEmail));
    // A box that cannot be shown leaves nothing further to try.
    try {
        messageBoxes().inform(QStringLiteral("Application Error"), text, BoxIcon::Warning);
    } catch (...) {
    }
}

} // namespace runtime
