#pragma once

// A meter's logger played from a script: answers requests sent to a
// ScriptedPort after a delay of scripted clock time. Requests are keyed by
// their letter, "R" and "W" also by their address ("R134", "W129"); a
// request with nothing scripted gets no answer.

#include "support/scriptedport.h"
#include "support/scriptedpump.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>

namespace loggertest {

class ScriptedMeter
{
public:
    ScriptedMeter(testsupport::ScriptedPort &port, testsupport::ScriptedPump &pump) : port_(port), pump_(pump)
    {
        port_.setResponder([this](const QByteArray &sent) { onRequest(sent); });
    }
    void always(const QString &key, const QByteArray &reply, double delay = 0.05) { standing_.insert(key, {reply, delay}); }
    void once(const QString &key, const QByteArray &reply, double delay = 0.05) { queued_[key].append({reply, delay}); }
    void silence(const QString &key) { standing_.remove(key), queued_.remove(key); }
    void watch(std::function<void(const QString &key)> watcher) { watcher_ = std::move(watcher); }
    // Keys of the requests received, in order ("A", "Y", "R134", " " ...).
    const QStringList &requests() const { return requests_; }
    void clearRequests() { requests_.clear(); }

private:
    struct Answer { QByteArray bytes; double delay = 0; };

    void onRequest(const QByteArray &sent)
    {
        QString key = sent.isEmpty() ? QString() : QString(QLatin1Char(sent.at(0)));
        if ((key == u'R' || key == u'W') && sent.size() > 4)
            key += QString::number(quint8(sent.at(4)));
        requests_.append(key);
        if (watcher_)
            watcher_(key);
        Answer answer = standing_.value(key);
        if (auto it = queued_.find(key); it != queued_.end() && !it->isEmpty())
            answer = it->takeFirst();
        if (!answer.bytes.isEmpty())
            pump_.after(pump_.advanced() + answer.delay, [this, bytes = answer.bytes] { port_.feed(bytes); });
    }

    testsupport::ScriptedPort &port_;
    testsupport::ScriptedPump &pump_;
    QHash<QString, Answer> standing_;
    QHash<QString, QList<Answer>> queued_;
    QStringList requests_;
    std::function<void(const QString &)> watcher_;
};

inline QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(char(v));
    return bytes;
}

inline QByteArray statusBytes(quint16 idCode, quint32 bytesInUse, quint16 sampling)
{
    return bytesOf({idCode >> 8, idCode & 0xFF, 0, 0, int(bytesInUse >> 24), int((bytesInUse >> 16) & 0xFF),
                    int((bytesInUse >> 8) & 0xFF), int(bytesInUse & 0xFF), sampling >> 8, sampling & 0xFF});
}

inline QByteArray entryBytes(std::initializer_list<int> bcdStart, int records)
{
    return bytesOf(bcdStart) + QByteArray(4, '\0') + bytesOf({records >> 8, records & 0xFF});
}

} // namespace loggertest
