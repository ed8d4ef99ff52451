#include "logger/inputnumber.h"

#include "common/numbers.h"

namespace logger {

namespace {

QString withBlank(qint32 value)
{
    return common::numberText(double(value), true);
}

} // namespace

qint32 inputnumber(platform::Dialogs &dialogs, const NumberQuestion &question)
{
    const QString max = withBlank(question.max);
    QString answer
        = dialogs.input(QStringLiteral("Enter the ") + question.name + QStringLiteral("(1 <= t <= ")
                            + max + QStringLiteral(" ) "),
                        QStringLiteral("Input ") + question.name, withBlank(question.defaultValue));
    if (answer.isEmpty())
        return 0;
    if (const qsizetype comma = answer.indexOf(u','); comma >= 0)
        answer[comma] = u'.';
    const common::Decimal value = common::leadingDecimal(answer);
    const double number = value.toDouble();
    if (number > double(question.max)) {
        dialogs.message(QStringLiteral("Number Too Large ! Set Value to ") + max
                        + QStringLiteral("!"));
        return question.max;
    }
    if (number < 1.0) {
        dialogs.message(QStringLiteral("Number Too Small ! Set Value to 1 !"));
        return 1;
    }
    return qint32(common::roundHalfEven(value));
}

} // namespace logger
