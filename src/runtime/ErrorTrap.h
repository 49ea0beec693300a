#pragma once
#include "AppError.h"

#include <QString>
#include <exception>
#include <utility>

namespace runtime {

// "in Quenlow2021/08/31." + object + "." + procedure + " "
QString errorLocation(const QString &object, const QString &procedure);

// The error report's text: description, CR LF, location, "at line ", label, CR CR, the request.
QString composeErrorReport(const QString &description, const QString &location, int label,
                           const QString &supportEmail);

// Sees every labelled line as it starts, with its procedure's location text. Tests install one
// to learn which procedures ran under which location, and to make a chosen line fail as if its
// statement had thrown.
class TrapProbe {
public:
    virtual ~TrapProbe() = default;
    // True makes the line fail: it is reported and its statement does not run.
    virtual bool lineStarts(const QString &location, int label) = 0;
};

class ScopedTrapProbe {
public:
    explicit ScopedTrapProbe(TrapProbe &probe);
    ~ScopedTrapProbe();
    ScopedTrapProbe(const ScopedTrapProbe &) = delete;
    ScopedTrapProbe &operator=(const ScopedTrapProbe &) = delete;

private:
    TrapProbe *m_previous;
};

// The local error trap of a procedure. Each statement runs through run() or line(); a statement
// that throws is reported in the "Application Error" box with the current line label and the
// procedure carries on with its next statement. Procedures without a trap simply let their
// exceptions travel up to the first caller that has one, which reports them with its own label.
class ErrorTrap {
public:
    ErrorTrap(const QString &object, const QString &procedure);

    // Marks the start of a labelled line; the label stays current until the next one.
    void at(int label) { m_label = label; }
    int currentLabel() const { return m_label; }
    const QString &location() const { return m_location; }

    // True when the statement completed; false when it failed and was reported.
    template <class Statement> bool run(Statement &&statement)
    {
        try {
            std::forward<Statement>(statement)();
            return true;
        } catch (const base::Failure &e) { // AppError and the engine's failures
            report(e.description());
        } catch (const std::exception &e) {
            report(QString::fromUtf8(e.what()));
        }
        return false;
    }

    template <class Statement> bool line(int label, Statement &&statement)
    {
        at(label);
        return !probeFailsLine() && run(std::forward<Statement>(statement));
    }

    // The test of a conditional block. When evaluating it fails, the report is shown and the
    // answer is true: execution resumes with the first statement of the block's body.
    template <class Condition> bool test(int label, Condition &&condition)
    {
        at(label);
        bool answer = true;
        if (!probeFailsLine())
            run([&] { answer = std::forward<Condition>(condition)(); });
        return answer;
    }

    // Reports a failure at the current label without running anything.
    void report(const QString &description) const;

private:
    // Asks the installed probe, if any, about the current line; reports the line when it fails.
    bool probeFailsLine() const;

    QString m_location;
    int m_label = 0;
};

} // namespace runtime
