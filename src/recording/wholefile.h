#pragma once

#include <QString>

#include <functional>

class QIODevice;

namespace recording {

// Writes a file all or nothing: into a new file beside it that replaces it
// only when every byte is written (QSaveFile). A device or pipe (a name
// that exists and is not a plain file) is written directly instead: it is
// never replaced by a plain file, and a full device still fails.
// `write` returns false when it could not write; `errorText` then reads
// "cannot write to FILE: reason".
bool writeWholeFile(const QString &fileName, const std::function<bool(QIODevice &out)> &write,
                    QString *errorText);

} // namespace recording
