#include "cli/stderrdialogs.h"

#include "cli/liverun.h"

namespace cli {

void StderrDialogs::message(const QString &text, const QString &title, platform::MessageIcon)
{
    ++messages_;
    QString line = text.simplified();
    if (!title.isEmpty())
        line = title + QStringLiteral(": ") + line;
    printError(line);
}

} // namespace cli
