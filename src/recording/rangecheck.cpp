#include "recording/rangecheck.h"

#include "common/numbers.h"

#include <cmath>

namespace recording {

Notice onlyOneRecordNotice()
{
    return {QStringLiteral("Only 1 Record !"), QStringLiteral("Warning"), platform::MessageIcon::None};
}

double rangeCount(double first, double last)
{
    const double count = last - first + 1;
    return first == 0 ? count - 1 : count;
}

std::optional<Notice> checkRange(const RangeRequest &request, const RangeBounds &bounds)
{
    if (request.first < 0 || request.last < 0 || request.minimum < 0 || request.maximum < 0)
        return Notice{QStringLiteral("Input No.s must be >=0, please try again !"), {},
                      platform::MessageIcon::Critical};
    const double count = rangeCount(request.first, request.last);
    const bool whole = std::floor(request.first) == request.first
                       && std::floor(request.last) == request.last;
    if (request.maximum > bounds.scaleLimit || count > bounds.total
        || request.first >= request.last || request.minimum >= request.maximum || !whole
        || request.last > double(bounds.rows))
        return Notice{QStringLiteral(" Invalid No.s,  please try again !"), {},
                      platform::MessageIcon::Critical};
    return std::nullopt;
}

qint64 middleRow(double first, double last)
{
    return common::roundHalfEven((first + last) / 2);
}

} // namespace recording
