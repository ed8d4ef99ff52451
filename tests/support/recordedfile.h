#pragma once

#include <QFile>
#include <QTest>

namespace testsupport {

inline QByteArray fileBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A recorded file holds `old` and then `lines` recorded lines (-1: any number,
// at least one) numbered from 1, each whole: eight fields and CR LF.
inline void verifyRecordedFile(const QString &fileName, int lines = -1, const QByteArray &old = {})
{
    const QByteArray text = fileBytes(fileName);
    const QList<QByteArray> got = text.mid(old.size()).split('\n');
    const bool any = lines < 0;
    lines = any ? int(got.size()) - 1 : lines;
    bool whole = text.startsWith(old) && lines >= (any ? 1 : 0) && got.size() == lines + 1 && got.last().isEmpty();
    for (int i = 0; whole && i < lines; ++i)
        whole = got[i].endsWith('\r') && got[i].count('\t') == 7 && got[i].startsWith(QByteArray::number(i + 1) + '\t');
    QVERIFY2(whole, qPrintable(QStringLiteral("not %1 whole lines: ...%2").arg(lines).arg(QString::fromLatin1(text.right(60)))));
}

} // namespace testsupport
