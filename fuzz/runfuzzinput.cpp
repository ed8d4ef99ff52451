#include "fuzz/targets.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

int runFuzzInput(QString (*check)(QByteArrayView), const std::uint8_t *data, std::size_t size)
{
    const QString finding = check(QByteArrayView(data, qsizetype(size)));
    if (!finding.isEmpty()) {
        std::fprintf(stderr, "FINDING: %s\n", qPrintable(finding));
        std::abort();
    }
    return 0;
}

} // namespace fuzz
