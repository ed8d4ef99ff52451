#pragma once

#include <QString>

namespace testsupport {

// Marks the running test function as failed with `message`, from anywhere
// below it (a double called by production code, a slot run by the event
// loop). Unlike QFAIL it does not return from the test function: the
// caller goes on with a harmless answer and the test fails at its end.
void failCurrentTest(const QString &message);

} // namespace testsupport
