#include "support/failure.h"

#include <QTest>

namespace testsupport {

void failCurrentTest(const QString &message)
{
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

} // namespace testsupport
