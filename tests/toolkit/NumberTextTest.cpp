// The number grammar of fields and the way fields show numbers.

#include <QTest>

#include <clocale>
#include <string>

#include "NumberText.h"

class NumberTextTest : public QObject {
    Q_OBJECT

private slots:
    void integerGrammar_data();
    void integerGrammar();
    void realGrammar_data();
    void realGrammar();
    void realShown_data();
    void realShown();
    void integerShown();
    void decimalPointWhateverTheLocale();
};

// Catches a parser that accepts trailing junk, a lone sign, "-0" (reads as
// zero without a leading 0), blanks other than space and tab, hex, or an
// integer beyond 32 bits clamped instead of refused.
void NumberTextTest::integerGrammar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("value");

    QTest::newRow("blanks around 12") << " 12 " << true << 12;
    QTest::newRow("tabs around 7") << "\t7\t" << true << 7;
    QTest::newRow("plus 3") << "+3" << true << 3;
    QTest::newRow("minus 12") << "-12" << true << -12;
    QTest::newRow("minus zero refused") << "-0" << false << 0;
    QTest::newRow("plus zero refused") << "+0" << false << 0;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("double zero") << "00" << true << 0;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("real .5 refused") << ".5" << false << 0;
    QTest::newRow("real 1. refused") << "1." << false << 0;
    QTest::newRow("exponent 1e3 refused") << "1e3" << false << 0;
    QTest::newRow("12abc refused") << "12abc" << false << 0;
    QTest::newRow("empty refused") << "" << false << 0;
    QTest::newRow("only a tab refused") << "\t" << false << 0;
    QTest::newRow("lone sign refused") << "-" << false << 0;
    QTest::newRow("inner blank refused") << "1 2" << false << 0;
    QTest::newRow("hex refused") << "0x10" << false << 0;
    QTest::newRow("newline is no blank") << "5\n" << false << 0;
    QTest::newRow("largest int") << "2147483647" << true << 2147483647;
    QTest::newRow("beyond int refused") << "99999999999" << false << 0;
}

void NumberTextTest::integerGrammar()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(int, value);
    int parsed = -777;
    QCOMPARE(ParseIntegerText(text.toStdString(), parsed), accepted);
    QCOMPARE(parsed, accepted ? value : -777);
}

// Catches a parser that takes "1e" or "12abc" by their leading number,
// accepts ".0" or "-0" (zero not starting with the digit 0), takes strtod's
// extras (inf, nan, hex floats, a decimal comma) or lets an overflow through.
void NumberTextTest::realGrammar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");

    QTest::newRow("blanks around 12") << " 12 " << true << 12.0;
    QTest::newRow("plus 3") << "+3" << true << 3.0;
    QTest::newRow("minus zero refused") << "-0" << false << 0.0;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("double zero") << "00" << true << 0.0;
    QTest::newRow("zero point zero") << "0.0" << true << 0.0;
    QTest::newRow(".5") << ".5" << true << 0.5;
    QTest::newRow("minus .5") << "-.5" << true << -0.5;
    QTest::newRow(".0 refused") << ".0" << false << 0.0;
    QTest::newRow("1.") << "1." << true << 1.0;
    QTest::newRow("1e3") << "1e3" << true << 1000.0;
    QTest::newRow("1E-2") << "1E-2" << true << 0.01;
    QTest::newRow("1e+3") << "1e+3" << true << 1000.0;
    QTest::newRow("14.696 with a tab") << "14.696\t" << true << 14.696;
    QTest::newRow("1e refused") << "1e" << false << 0.0;
    QTest::newRow("lone point refused") << "." << false << 0.0;
    QTest::newRow("12abc refused") << "12abc" << false << 0.0;
    QTest::newRow("empty refused") << "" << false << 0.0;
    QTest::newRow("only a tab refused") << "\t" << false << 0.0;
    QTest::newRow("decimal comma refused") << "1,5" << false << 0.0;
    QTest::newRow("inf refused") << "inf" << false << 0.0;
    QTest::newRow("nan refused") << "nan" << false << 0.0;
    QTest::newRow("hex float refused") << "0x1p3" << false << 0.0;
    QTest::newRow("overflow refused") << "1e999" << false << 0.0;
}

void NumberTextTest::realGrammar()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    double parsed = -777.0;
    QCOMPARE(ParseRealText(text.toStdString(), parsed), accepted);
    QCOMPARE(parsed, accepted ? value : -777.0);
}

// Catches showing with printf's default 6 digits, with trailing zeros, or
// with more than 15 digits (0.3 would show as 0.29999999999999999).
void NumberTextTest::realShown_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("shown");

    QTest::newRow("298.0 as 298") << 298.0 << 15 << "298";
    QTest::newRow("14.696") << 14.696 << 15 << "14.696";
    QTest::newRow("0.3") << 0.3 << 15 << "0.3";
    QTest::newRow("zero") << 0.0 << 15 << "0";
    QTest::newRow("one third to 15 digits") << 1.0 / 3.0 << 15 << "0.333333333333333";
    QTest::newRow("123.4567 to 15 digits") << 123.4567 << 15 << "123.4567";
    QTest::newRow("large in exponent form") << 1e20 << 15 << "1e+20";
    QTest::newRow("small in exponent form") << 0.00001 << 15 << "1e-05";
    QTest::newRow("negative") << -2.5 << 15 << "-2.5";
    QTest::newRow("123.4567 as %g") << 123.4567 << 6 << "123.457";
    QTest::newRow("1000 as %g") << 1000.0 << 6 << "1000";
    QTest::newRow("1234567 as %g") << 1234567.0 << 6 << "1.23457e+06";
}

void NumberTextTest::realShown()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(QString, shown);
    QCOMPARE(QString::fromStdString(FormatRealText(value, digits)), shown);
}

// Catches a sign or width slip in the integer form.
void NumberTextTest::integerShown()
{
    QCOMPARE(FormatIntegerText(0), std::string("0"));
    QCOMPARE(FormatIntegerText(-12), std::string("-12"));
    QCOMPARE(FormatIntegerText(2147483647), std::string("2147483647"));
}

// Catches reading or showing through the C library's locale, which Qt sets
// from the environment: under a decimal-comma locale the point must stay.
void NumberTextTest::decimalPointWhateverTheLocale()
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        QSKIP("the de_DE.UTF-8 locale is not installed");
    double value = 0.0;
    const bool read = ParseRealText("1.5", value);
    double ignored = 0.0;
    const bool commaRead = ParseRealText("1,5", ignored);
    const std::string shown = FormatRealText(14.696);
    std::setlocale(LC_NUMERIC, saved.c_str());
    QVERIFY(read);
    QCOMPARE(value, 1.5);
    QVERIFY(!commaRead);
    QCOMPARE(shown, std::string("14.696"));
}

QTEST_GUILESS_MAIN(NumberTextTest)
#include "NumberTextTest.moc"
