#pragma once
#include "base/Failure.h"

#include <QString>

namespace runtime {

// The one failure type of the program's own layers: a description meant for the error report.
// Statements that fail throw it; the nearest error trap up the call chain reports it. The engine
// throws base::Failure, which this is a kind of, so a trap catches both as base::Failure.
class AppError : public base::Failure {
public:
    using base::Failure::Failure;
};

} // namespace runtime
