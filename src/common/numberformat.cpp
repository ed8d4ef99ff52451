#include "common/numbers.h"

#include "common/decimaldigits.h"

#include <QList>

#include <algorithm>

// Format patterns:
//   0    a digit, always written; leading zeros fill the integer part
//   #    a digit, written only when significant
//   .    the decimal point (the first one; later ones are copied)
//   ;    ends the pattern for numbers of 0 or more; the rest is the
//        pattern for negative numbers, which writes its own sign
//   \x   x copied as it is (\- a literal minus)
//   "…"  the quoted text copied as it is
//   else copied as it is

namespace common {

namespace {

struct Token
{
    enum Kind { DigitZero, DigitHash, Point, Literal } kind;
    QString text; // Literal only
};

struct Section
{
    QList<Token> tokens;
    QList<Token::Kind> fractionPlaceholders; // left to right
    qsizetype integerPlaceholders = 0;
    qsizetype minIntegerDigits = 0; // placeholders from the leftmost 0 to the point
    bool hasPoint = false;
};

void addLiteral(Section &section, const QString &text)
{
    if (!section.tokens.isEmpty() && section.tokens.back().kind == Token::Literal)
        section.tokens.back().text += text;
    else
        section.tokens.append(Token{Token::Literal, text});
}

void addPlaceholder(Section &section, Token::Kind kind)
{
    section.tokens.append(Token{kind, {}});
    if (section.hasPoint) {
        section.fractionPlaceholders.append(kind);
        return;
    }
    ++section.integerPlaceholders;
    if (kind == Token::DigitZero || section.minIntegerDigits > 0)
        ++section.minIntegerDigits;
}

// Splits a pattern into its sections at each ';' outside quotes and escapes.
QList<Section> parsePattern(QStringView pattern)
{
    QList<Section> sections(1);
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        Section &section = sections.back();
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            addLiteral(section, pattern.at(++i));
        } else if (c == QLatin1Char('"')) {
            const qsizetype close = pattern.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            addLiteral(section, pattern.mid(i + 1, end - i - 1).toString());
            i = end;
        } else if (c == QLatin1Char(';')) {
            sections.append(Section{});
        } else if (c == QLatin1Char('0')) {
            addPlaceholder(section, Token::DigitZero);
        } else if (c == QLatin1Char('#')) {
            addPlaceholder(section, Token::DigitHash);
        } else if (c == QLatin1Char('.') && !section.hasPoint) {
            section.hasPoint = true;
            section.tokens.append(Token{Token::Point, {}});
        } else {
            addLiteral(section, c);
        }
    }
    return sections;
}

// Fraction digits to write: trailing zeros that fall on '#' are dropped.
qsizetype shownFractionDigits(const Section &section, const QString &fraction)
{
    qsizetype shown = fraction.size();
    while (shown > 0 && section.fractionPlaceholders.at(shown - 1) == Token::DigitHash
           && fraction.at(shown - 1) == QLatin1Char('0'))
        --shown;
    return shown;
}

// Writes the magnitude in `digits` into the placeholders of `section`.
QString applySection(const Section &section, const detail::DecimalDigits &digits)
{
    QString integer = digits.integer;
    if (integer.size() < section.minIntegerDigits)
        integer.prepend(QString(section.minIntegerDigits - integer.size(), QLatin1Char('0')));
    const qsizetype fractionShown = shownFractionDigits(section, digits.fraction);

    QString out;
    qsizetype integerIndex = 0;
    qsizetype fractionIndex = 0;
    bool integerDone = false; // every integer placeholder (or the point) met
    for (const Token &token : section.tokens) {
        switch (token.kind) {
        case Token::Literal:
            out += token.text;
            break;
        case Token::Point:
            if (section.integerPlaceholders == 0) // digits go before the point
                out += integer;
            integerDone = true;
            out += QLatin1Char('.');
            break;
        case Token::DigitZero:
        case Token::DigitHash:
            if (integerDone) {
                if (fractionIndex < fractionShown)
                    out += digits.fraction.at(fractionIndex);
                ++fractionIndex;
            } else {
                // Placeholder k takes digit L - P + k; the first one also
                // takes every digit that has no placeholder of its own.
                const qsizetype j = integer.size() - section.integerPlaceholders + integerIndex;
                if (integerIndex == 0)
                    out += integer.left(std::max<qsizetype>(j + 1, 0));
                else if (j >= 0)
                    out += integer.at(j);
                ++integerIndex;
            }
            break;
        }
    }
    return out;
}

} // namespace

QString formatNumber(const Decimal &value, QStringView pattern)
{
    const QList<Section> sections = parsePattern(pattern);
    const bool ownNegative = sections.size() > 1 && !sections.at(1).tokens.isEmpty();
    const bool negative = value.mantissa < 0;
    const Section &section = negative && ownNegative ? sections.at(1) : sections.at(0);

    const detail::DecimalDigits digits = detail::roundedAwayFromZero(
        value, static_cast<int>(std::min<qsizetype>(section.fractionPlaceholders.size(), 1000)));
    if (negative && digits.isZero()) // never a negative zero
        return formatNumber(Decimal{}, pattern);
    if (negative && !ownNegative)
        return QLatin1Char('-') + applySection(section, digits);
    return applySection(section, digits);
}

QString formatNumber(double value, QStringView pattern)
{
    return formatNumber(Decimal::fromDouble(value), pattern);
}

} // namespace common
