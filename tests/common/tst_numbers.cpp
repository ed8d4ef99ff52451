#include "common/numbers.h"

#include <QTest>

#include <cmath>
#include <limits>

using common::Decimal;

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumber_data();
    void leadingNumber();
    void leadingDecimalLongDigits_data();
    void leadingDecimalLongDigits();
    void leadingNumberOutOfRange_data();
    void leadingNumberOutOfRange();

    void fromDouble_data();
    void fromDouble();

    void numberText_data();
    void numberText();

    void roundHalfEvenDouble_data();
    void roundHalfEvenDouble();
    void roundHalfEvenDecimal_data();
    void roundHalfEvenDecimal();

    void formatDecimal_data();
    void formatDecimal();
    void formatDouble_data();
    void formatDouble();

    void dateSeparatorOf_data();
    void dateSeparatorOf();
    void formatDate_data();
    void formatDate();
};

void TestNumbers::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("exact"); // numberText of leadingDecimal
    QTest::addColumn<double>("number");

    QTest::newRow("range mV") << "500 mV" << "500" << 500.0;
    QTest::newRow("range K Ohm") << "5K Ohm" << "5" << 5.0;
    QTest::newRow("range 1000 V") << "1000 V" << "1000" << 1000.0;
    QTest::newRow("overload") << "OL" << "0" << 0.0;
    QTest::newRow("negative overload") << "-OL" << "0" << 0.0;
    QTest::newRow("negative reading") << "-01.234" << "-1.234" << -1.234;
    QTest::newRow("leading blanks") << "  2.5 Sec" << "2.5" << 2.5;
    QTest::newRow("leading tab") << "\t7" << "7" << 7.0;
    QTest::newRow("plus sign") << "+3.5" << "3.5" << 3.5;
    QTest::newRow("empty") << "" << "0" << 0.0;
    QTest::newRow("blanks only") << "   " << "0" << 0.0;
    QTest::newRow("point only") << "." << "0" << 0.0;
    QTest::newRow("minus only") << "-" << "0" << 0.0;
    QTest::newRow("minus zero") << "-0" << "0" << 0.0;
    QTest::newRow("minus zero fraction") << "-0.000" << "0" << 0.0;
    QTest::newRow("no exponent") << "1e5" << "1" << 1.0;
    QTest::newRow("comma stops") << "2,5" << "2" << 2.0;
    QTest::newRow("second point stops") << "1.2.3" << "1.2" << 1.2;
    QTest::newRow("fraction without integer") << ".5" << "0.5" << 0.5;
    QTest::newRow("negative fraction without integer") << "-.25" << "-0.25" << -0.25;
    QTest::newRow("trailing point") << "5." << "5" << 5.0;
    QTest::newRow("blank after sign stops") << "- 5" << "0" << 0.0;
    QTest::newRow("blank inside stops") << "1 2" << "1" << 1.0;
    QTest::newRow("leading zeros") << "000123.4500" << "123.45" << 123.45;
    QTest::newRow("small fraction") << "0.000001" << "0.000001" << 0.000001;
    QTest::newRow("letter first") << "V 5" << "0" << 0.0;
    QTest::newRow("caption") << " VALUE" << "0" << 0.0;
    QTest::newRow("blank and value") << " 1.234" << "1.234" << 1.234;
    QTest::newRow("arabic-indic digit is no digit") << QString::fromUtf8("\u0665") << "0" << 0.0;
}

void TestNumbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(QString, exact);
    QFETCH(double, number);

    QCOMPARE(common::numberText(common::leadingDecimal(text)), exact);
    const double actual = common::leadingNumber(text);
    QVERIFY2(actual == number, qPrintable(QString::number(actual, 'g', 17)));
    if (number == 0)
        QVERIFY(!std::signbit(actual)); // "-OL" and "-0" give +0
}

void TestNumbers::leadingDecimalLongDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("exact");

    QTest::newRow("18 digits kept")
        << "123456789012345678" << "123456789012345678";
    QTest::newRow("25 digits round down")
        << "1234567890123456781234567" << "1234567890123456780000000";
    QTest::newRow("25 digits round up")
        << "1234567890123456785000000" << "1234567890123456790000000";
    QTest::newRow("carry into 19th digit")
        << "9999999999999999999" << "10000000000000000000";
    QTest::newRow("long fraction rounded")
        << "0.12345678901234567891" << "0.123456789012345679";
    QTest::newRow("leading zeros are not significant")
        << "0000000000000000000000000042" << "42";
    QTest::newRow("negative long")
        << "-99999999999999999999.5" << "-100000000000000000000";
}

void TestNumbers::leadingDecimalLongDigits()
{
    QFETCH(QString, text);
    QFETCH(QString, exact);
    QCOMPARE(common::numberText(common::leadingDecimal(text)), exact);
}

void TestNumbers::leadingNumberOutOfRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("400 nines") << QString(400, QLatin1Char('9')) << inf;
    QTest::newRow("minus 400 nines") << QLatin1Char('-') + QString(400, QLatin1Char('9')) << -inf;
    QTest::newRow("tiny fraction")
        << QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QLatin1Char('1') << 0.0;
    QTest::newRow("largest double text") << "179769313486231570" + QString(291, QLatin1Char('0'))
                                         << std::numeric_limits<double>::max();
}

void TestNumbers::leadingNumberOutOfRange()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(common::leadingNumber(text), number);
}

void TestNumbers::fromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("mantissa");
    QTest::addColumn<int>("exponent");

    QTest::newRow("0.1 is exactly one tenth") << 0.1 << qint64(1) << -1;
    QTest::newRow("2.675") << 2.675 << qint64(2675) << -3;
    QTest::newRow("negative") << -123.455 << qint64(-123455) << -3;
    QTest::newRow("hundred") << 100.0 << qint64(1) << 2;
    QTest::newRow("zero") << 0.0 << qint64(0) << 0;
    QTest::newRow("negative zero") << -0.0 << qint64(0) << 0;
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << qint64(30000000000000004) << -17;
    QTest::newRow("smallest subnormal") << 5e-324 << qint64(5) << -324;
    QTest::newRow("largest") << std::numeric_limits<double>::max() << qint64(17976931348623157) << 292;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(0) << 0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << qint64(0) << 0;
}

void TestNumbers::fromDouble()
{
    QFETCH(double, value);
    QFETCH(qint64, mantissa);
    QFETCH(int, exponent);

    const Decimal d = Decimal::fromDouble(value);
    QCOMPARE(d.mantissa, mantissa);
    QCOMPARE(d.exponent, exponent);
    if (std::isfinite(value))
        QVERIFY(d.toDouble() == value); // round trip (compares -0 == 0)
}

void TestNumbers::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("withBlank");
    QTest::addColumn<QString>("text");

    QTest::newRow("integer") << 5.0 << false << "5";
    QTest::newRow("integer with blank") << 5.0 << true << " 5";
    QTest::newRow("negative with blank") << -5.0 << true << "-5";
    QTest::newRow("zero with blank") << 0.0 << true << " 0";
    QTest::newRow("negative zero") << -0.0 << false << "0";
    QTest::newRow("negative zero with blank") << -0.0 << true << " 0";
    QTest::newRow("half") << -0.5 << false << "-0.5";
    QTest::newRow("no binary noise") << 123.6 << false << "123.6";
    QTest::newRow("small, no exponent") << 1e-7 << false << "0.0000001";
    QTest::newRow("large, no exponent") << 1e21 << false << "1000000000000000000000";
    QTest::newRow("shortest round trip") << 0.1 + 0.2 << false << "0.30000000000000004";
    QTest::newRow("no trailing zeros") << 250.0 << true << " 250";
    QTest::newRow("scale half") << 2.5 << true << " 2.5";
}

void TestNumbers::numberText()
{
    QFETCH(double, value);
    QFETCH(bool, withBlank);
    QFETCH(QString, text);
    QCOMPARE(common::numberText(value, withBlank), text);
}

void TestNumbers::roundHalfEvenDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("rounded");

    const qint64 max = std::numeric_limits<qint64>::max();
    const qint64 min = std::numeric_limits<qint64>::min();
    QTest::newRow("2.5 to even") << 2.5 << qint64(2);
    QTest::newRow("3.5 to even") << 3.5 << qint64(4);
    QTest::newRow("0.5 to even") << 0.5 << qint64(0);
    QTest::newRow("-2.5 to even") << -2.5 << qint64(-2);
    QTest::newRow("-3.5 to even") << -3.5 << qint64(-4);
    QTest::newRow("below half") << 2.4999999999999996 << qint64(2);
    QTest::newRow("above half") << 2.5000000000000004 << qint64(3);
    QTest::newRow("decimal half of a binary fraction") << 1000.5 << qint64(1000);
    QTest::newRow("memTotal / 2") << 7.0 / 2 << qint64(4);
    QTest::newRow("tiny") << 1e-30 << qint64(0);
    QTest::newRow("large") << 1e18 << qint64(1000000000000000000);
    QTest::newRow("saturate high") << 1e19 << max;
    QTest::newRow("saturate low") << -1e19 << min;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << max;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
}

void TestNumbers::roundHalfEvenDouble()
{
    QFETCH(double, value);
    QFETCH(qint64, rounded);
    QCOMPARE(common::roundHalfEven(value), rounded);
}

void TestNumbers::roundHalfEvenDecimal_data()
{
    QTest::addColumn<qint64>("mantissa");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<qint64>("rounded");

    const qint64 min = std::numeric_limits<qint64>::min();
    QTest::newRow("1.5") << qint64(15) << -1 << qint64(2);
    QTest::newRow("-1.5") << qint64(-15) << -1 << qint64(-2);
    QTest::newRow("2.50 exact half") << qint64(250) << -2 << qint64(2);
    QTest::newRow("2.51") << qint64(251) << -2 << qint64(3);
    QTest::newRow("2.5000001") << qint64(25000001) << -7 << qint64(3);
    QTest::newRow("0.49") << qint64(49) << -2 << qint64(0);
    QTest::newRow("positive exponent") << qint64(7) << 3 << qint64(7000);
    QTest::newRow("most negative mantissa") << min << 0 << min;
    QTest::newRow("overflow by exponent") << qint64(-1) << 19 << min;
    QTest::newRow("far below one") << qint64(999999999999999999) << -25 << qint64(0);
}

void TestNumbers::roundHalfEvenDecimal()
{
    QFETCH(qint64, mantissa);
    QFETCH(int, exponent);
    QFETCH(qint64, rounded);
    QCOMPARE(common::roundHalfEven(Decimal{mantissa, exponent}), rounded);
}

void TestNumbers::formatDecimal_data()
{
    QTest::addColumn<qint64>("mantissa");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");

    // Readings: N x 10^k with the range's pattern.
    QTest::newRow("5000 range") << qint64(123456) << -2 << "0###.0" << "1234.6";
    QTest::newRow("5000 range small") << qint64(1234) << -2 << "0###.0" << "0012.3";
    QTest::newRow("500 range") << qint64(123450) << -3 << "0##.#0" << "123.45";
    QTest::newRow("500 range sixth nibble 4") << qint64(123454) << -3 << "0##.#0" << "123.45";
    QTest::newRow("500 range sixth nibble 5") << qint64(123455) << -3 << "0##.#0" << "123.46";
    QTest::newRow("500 range zero") << qint64(0) << -3 << "0##.#0" << "000.00";
    QTest::newRow("500 range trailing zero on 0") << qint64(1234) << -1 << "0##.#0" << "123.40";
    QTest::newRow("50 range") << qint64(12340) << -4 << "0#.##0" << "01.234";
    QTest::newRow("50 range all digits") << qint64(123400) << -4 << "0#.##0" << "12.340";
    QTest::newRow("5 range") << qint64(12345) << -4 << "0.###0" << "1.2345";
    QTest::newRow("5 range carry past placeholders") << qint64(999995) << -5 << "0.###0" << "10.0000";
    QTest::newRow("one section negative") << qint64(-12345) << -3 << "0##.#0" << "-012.35";
    QTest::newRow("most negative mantissa") << std::numeric_limits<qint64>::min() << 0 << "0"
                                            << "-9223372036854775808";

    // Clock.
    QTest::newRow("clock pad") << qint64(7) << 0 << "#00" << "07";
    QTest::newRow("clock round up") << qint64(595) << -1 << "#00" << "60";
    QTest::newRow("clock zero") << qint64(0) << 0 << "#00" << "00";
    QTest::newRow("clock more digits") << qint64(123) << 0 << "#00" << "123";
    QTest::newRow("two digits") << qint64(5) << 0 << "00" << "05";

    // Graph labels.
    QTest::newRow("label -500") << qint64(-500) << 0 << "###0;\\-###0" << "-500";
    QTest::newRow("label 0") << qint64(0) << 0 << "###0;\\-###0" << "0";
    QTest::newRow("label 5") << qint64(5) << 0 << "###0;\\-###0" << "5";
    QTest::newRow("label 2.5") << qint64(25) << -1 << "###0;\\-###0" << "3";
    QTest::newRow("label -2.5") << qint64(-25) << -1 << "###0;\\-###0" << "-3";
    QTest::newRow("label -0.4 no negative zero") << qint64(-4) << -1 << "###0;\\-###0" << "0";
    QTest::newRow("label more digits") << qint64(-12345) << 0 << "###0;\\-###0" << "-12345";
    QTest::newRow("negative section without minus") << qint64(-5) << 0 << "0;(0)" << "(5)";
    QTest::newRow("empty negative section") << qint64(-5) << 0 << "0;" << "-5";

    // Sign of zero with one section.
    QTest::newRow("-0.04 rounds to zero") << qint64(-4) << -2 << "0.0" << "0.0";
    QTest::newRow("-0.05 rounds away") << qint64(-5) << -2 << "0.0" << "-0.1";
    QTest::newRow("-1.25") << qint64(-125) << -2 << "0.0" << "-1.3";

    // '#' against '0'.
    QTest::newRow("# zero is nothing") << qint64(0) << 0 << "#" << "";
    QTest::newRow("## point #, whole") << qint64(2) << 0 << "##.#" << "2.";
    QTest::newRow("## point #, fraction") << qint64(225) << -2 << "##.#" << "2.3";
    QTest::newRow("## point 0, below one") << qint64(5) << -1 << "##.0" << ".5";
    QTest::newRow("## point 0, whole") << qint64(2) << 0 << "##.0" << "2.0";
    QTest::newRow("## point 0, two digits") << qint64(1225) << -2 << "##.0" << "12.3";
    QTest::newRow("0.0# drops zero on #") << qint64(15) << -1 << "0.0#" << "1.5";
    QTest::newRow("0.0# keeps digit") << qint64(125) << -2 << "0.0#" << "1.25";
    QTest::newRow("0.#0 keeps zero on #") << qint64(15) << -1 << "0.#0" << "1.50";
    QTest::newRow("#0# minimum two digits") << qint64(3) << 0 << "#0#" << "03";

    // Literals.
    QTest::newRow("literal suffix") << qint64(5) << 0 << "0 V" << "5 V";
    QTest::newRow("escaped #") << qint64(5) << 0 << "\\#0" << "#5";
    QTest::newRow("escaped ;") << qint64(5) << 0 << "0\\;" << "5;";
    QTest::newRow("quoted text") << qint64(5) << 0 << "0\" #0;\"" << "5 #0;";
    QTest::newRow("second point is literal") << qint64(15) << -1 << "0.0." << "1.5.";
    QTest::newRow("no integer placeholder") << qint64(125) << -2 << ".0" << "1.3";

    // Extremes.
    QTest::newRow("tiny rounds to zero") << qint64(1) << -30 << "0.00" << "0.00";
    QTest::newRow("negative tiny") << qint64(-1) << -300 << "0.00" << "0.00";
    QTest::newRow("large exponent") << qint64(1) << 25 << "0" << "10000000000000000000000000";
    QTest::newRow("empty pattern") << qint64(5) << 0 << "" << "";
}

void TestNumbers::formatDecimal()
{
    QFETCH(qint64, mantissa);
    QFETCH(int, exponent);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(common::formatNumber(Decimal{mantissa, exponent}, pattern), text);
}

void TestNumbers::formatDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");

    // Each of these lies just below the half in binary.
    QTest::newRow("2.675") << 2.675 << "0.00" << "2.68";
    QTest::newRow("-2.675") << -2.675 << "0.00" << "-2.68";
    QTest::newRow("1.005") << 1.005 << "0.00" << "1.01";
    QTest::newRow("8.345") << 8.345 << "0.00" << "8.35";
    QTest::newRow("1.45") << 1.45 << "0.0" << "1.5";
    QTest::newRow("123.455") << 123.455 << "0##.#0" << "123.46";
    QTest::newRow("0.125") << 0.125 << "0.00" << "0.13";
    QTest::newRow("-2.5 label") << -2.5 << "###0;\\-###0" << "-3";
    QTest::newRow("59.5 clock") << 59.5 << "#00" << "60";
    QTest::newRow("sampling time 2") << 2.0 << "##.0" << "2.0";
    QTest::newRow("sampling time 12.5") << 12.5 << "##.0" << "12.5";
    QTest::newRow("negative zero") << -0.0 << "0.0" << "0.0";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "0" << "0";
}

void TestNumbers::formatDouble()
{
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(common::formatNumber(value, pattern), text);
}

void TestNumbers::dateSeparatorOf_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QChar>("separator");

    QTest::newRow("US") << "M/d/yy" << QChar(u'/');
    QTest::newRow("German") << "dd.MM.yy" << QChar(u'.');
    QTest::newRow("ISO") << "yyyy-MM-dd" << QChar(u'-');
    QTest::newRow("quoted letters skipped") << "'d'dd-MM" << QChar(u'-');
    QTest::newRow("no separator") << "ddMMyy" << QChar(u'/');
    QTest::newRow("empty") << "" << QChar(u'/');
    QTest::newRow("C locale has only blanks") << "d MMM yyyy" << QChar(u'/');
}

void TestNumbers::dateSeparatorOf()
{
    QFETCH(QString, format);
    QFETCH(QChar, separator);
    QCOMPARE(common::dateSeparatorOf(format), separator);
}

void TestNumbers::formatDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");

    QTest::newRow("mm/dd/yy") << QDate(2009, 12, 31) << "mm/dd/yy" << QChar(u'/') << "12/31/09";
    QTest::newRow("yy/mm/dd dot") << QDate(2009, 12, 31) << "yy/mm/dd" << QChar(u'.') << "09.12.31";
    QTest::newRow("padding") << QDate(2001, 2, 3) << "yy/mm/dd" << QChar(u'-') << "01-02-03";
    QTest::newRow("four-digit year") << QDate(2000, 1, 5) << "yyyy-mm-dd" << QChar(u'/') << "2000-01-05";
    QTest::newRow("century year") << QDate(2100, 7, 4) << "yy" << QChar(u'/') << "00";
    QTest::newRow("upper case") << QDate(2024, 3, 9) << "DD/MM/YY" << QChar(u'/') << "09/03/24";
    QTest::newRow("literal text") << QDate(2024, 3, 9) << "dd. x" << QChar(u'/') << "09. x";
    QTest::newRow("invalid date") << QDate() << "yy/mm/dd" << QChar(u'/') << "";
}

void TestNumbers::formatDate()
{
    QFETCH(QDate, date);
    QFETCH(QString, pattern);
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    QCOMPARE(common::formatDate(date, pattern, separator), text);
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
