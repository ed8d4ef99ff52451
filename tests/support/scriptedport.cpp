#include "support/scriptedport.h"

#include <algorithm>

namespace testsupport {

bool ScriptedPort::open()
{
    ++openCalls_;
    if (!openFailure_.isEmpty()) {
        errorText_ = openFailure_;
        open_ = false;
        return false;
    }
    errorText_.clear();
    open_ = true;
    return true;
}

int ScriptedPort::bytesWaiting()
{
    return open_ ? static_cast<int>(incoming_.size()) : 0;
}

QByteArray ScriptedPort::read(int length)
{
    readLengths_.append(length);
    if (!open_)
        return {};
    const qsizetype count = length <= 0 ? incoming_.size()
                                        : std::min<qsizetype>(length, incoming_.size());
    QByteArray taken = incoming_.left(count);
    incoming_.remove(0, count);
    return taken;
}

void ScriptedPort::send(const QByteArray &bytes)
{
    if (!open_)
        return;
    sent_.append(bytes);
    if (responder_)
        responder_(bytes);
}

} // namespace testsupport
