#pragma once
#include <QString>

namespace runtime {
class ErrorTrap;
}

namespace entry {

class RecordWidgets;

// Fills the record with the example application, assigning through the controls so that every
// value is written to the store; each assignment is one labelled line of `trap` from 100 on.
// The references are left untouched.
void loadSampleData(const RecordWidgets &widgets, runtime::ErrorTrap &trap);

// "Questions? Please contact Team Marrowick at " + the contact page.
QString helpMessage();

} // namespace entry
