// The arithmetic expression evaluator.
#include "corvane/geometry/Expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <string>

namespace {

struct Outcome {
    int status;
    std::wstring text;
};

Outcome Calc(const wchar_t* expression)
{
    CString result = L"untouched";
    const int status = tkx_ExpressCalc(expression, result);
    return {status, result.GetString()};
}

std::wstring Fixed16(double value)
{
    CString text;
    text.Format(L"%.16f", value);
    return text.GetString();
}

std::string Narrow(const std::wstring& w)
{
    return std::string(ClWideToMultiByte(w.c_str(), -1, CP_UTF8));
}

struct Case {
    const wchar_t* expression;
    int status;
    std::wstring text;
};

void Check(const Case& c)
{
    const Outcome got = Calc(c.expression);
    EXPECT_EQ(c.status, got.status) << "expression [" << Narrow(c.expression) << "] gave " << Narrow(got.text);
    EXPECT_EQ(c.text, got.text) << "expression [" << Narrow(c.expression) << "]\n  expected "
                                << Narrow(c.text) << "\n  got      " << Narrow(got.text);
}

} // namespace

TEST(ExpressionCalc, EmptyNullAndPlainNumbers)
{
    const Case cases[] = {
        {L"", 1, L"0"},
        {L"NULL", 1, L"0"},
        {L"   ", 1, L""},            // the empty group counts as a plain number
        {L"5", 1, L"5"},             // a plain number comes back as written
        {L"  -12.50 ", 1, L"-12.50"},
        {L"pi", 1, L"pi"},           // lower case is no constant
        {L"GG", 1, L"9.80665"},
        {L"(5)", 1, L"5"},           // a bracketed number is unwrapped
        {L"((2.5))", 1, L"2.5"},
        {L"--0.5", 1, L"0.5"},       // several signs make one
        {L"---0.5", 1, L"-0.5"},
        {L"-(-0.5)", 1, L"0.5"},
    };
    for (const Case& c : cases)
        Check(c);
    CString result;
    EXPECT_EQ(1, tkx_ExpressCalc(nullptr, result));
    EXPECT_STREQ(L"0", result.GetString());
}

TEST(ExpressionCalc, OperatorsAndPrecedence)
{
    const Case cases[] = {
        {L"2+3", 1, L"5.0000000000000000"},
        {L"1+2*3", 1, L"7.0000000000000000"},
        {L"2*3/4", 1, L"1.5000000000000000"},    // 3/4 first
        {L"5%3", 1, L"2.0000000000000000"},
        {L"7.5%2", 1, L"1.5000000000000000"},
        {L"10%4*2", 1, L"2.0000000000000000"},   // remainder of 10 by 4*2
        {L"-7%3", 1, L"-1.0000000000000000"},    // sign of the first operand
        {L"2^3^2", 1, L"64.0000000000000000"},   // left to right
        {L"8/4/2", 1, L"1.0000000000000000"},
        {L"1-2-3", 1, L"-4.0000000000000000"},
        {L"-3+5", 1, L"2.0000000000000000"},
        {L"+5", 1, L"5.0000000000000000"},
        {L"5--3", 1, L"8.0000000000000000"},
        {L"5---3", 1, L"2.0000000000000000"},
        {L"5-+3", 1, L"2.0000000000000000"},
        {L"5+-3", 1, L"2.0000000000000000"},
        {L"2+-3-1", 1, L"-2.0000000000000000"},
        {L"2*-3", 1, L"-6.0000000000000000"},
        {L"1-2*-3", 1, L"7.0000000000000000"},
        {L"2^-1", 1, L"0.5000000000000000"},
        {L" 1 + 2 * ( 3 - 1 ) ", 1, L"5.0000000000000000"},
        {L"((1+2)*(3+4))/7", 1, L"3.0000000000000000"},
        {L"1+2e3", 1, L"2001.0000000000000000"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(ExpressionCalc, ParenthesesCompletedOrMissing)
{
    const Case cases[] = {
        {L"(1+2", 1, L"3.0000000000000000"},
        {L"1+2)", 1, L"3.0000000000000000"},
        {L"((1+2", 0, L"缺少2个右括号"},
        {L"(((1", 0, L"缺少3个右括号"},
        {L"1+2))", 0, L"缺少2个左括号"},
        {L"()", 0, L"函数表达式为空"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(ExpressionCalc, ConstantsAndFunctions)
{
    const double e = 2.7182818284590452353;
    const Case cases[] = {
        {L"PI/2", 1, L"1.5707963267948966"},
        {L"2PI", 0, L"缺少二元运算符"},
        {L"(1)PI", 0, L"缺少二元运算符"},
        {L"2*PI", 1, Fixed16(2 * 3.1415926535897932384)},
        {L"SIN(0)", 1, L"0.0000000000000000"},
        {L"sin(0)", 1, L"0.0000000000000000"},
        {L"Cos(0)", 1, L"1.0000000000000000"},
        {L"E^2", 1, Fixed16(std::pow(e, 2.0))},   // the constant E, squared
        {L"e^2", 1, Fixed16(std::exp(2.0))},       // the function e^
        {L"exp(2)", 1, L"100.0000000000000000"},  // 10 to the power
        {L"sqr(16)", 1, L"4.0000000000000000"},   // square root
        {L"ln(1)", 1, L"0.0000000000000000"},
        {L"log(1000)", 1, L"3.0000000000000000"},
        {L"abs(-2)", 1, L"2.0000000000000000"},
        {L"3-abs(-2)", 1, L"1.0000000000000000"},
        {L"-sin(0.5)", 1, Fixed16(-std::sin(0.5))},
        {L"ac(1)", 1, L"0.0000000000000000"},
        {L"as(1)", 1, Fixed16(std::asin(1.0))},
        {L"at(1)", 1, Fixed16(std::atan(1.0))},
        {L"cot(1)", 1, Fixed16(1.0 / std::tan(1.0))},
        {L"th(0.5)", 1, Fixed16(std::tanh(0.5))},
        {L"th(800)", 1, L"1.0000000000000000"},   // no overflow of sh/ch
        {L"2*GG", 1, Fixed16(2 * 9.80665)},
        {L"2sin(0)", 0, L"缺少二元运算符"},
        {L"sin", 0, L""},                          // unknown function text
    };
    for (const Case& c : cases)
        Check(c);

    const Outcome na = Calc(L"NA*2");
    EXPECT_EQ(1, na.status);
    EXPECT_NEAR(1.204409e24, std::wcstod(na.text.c_str(), nullptr), 1e12);
    const Outcome hyperbolic = Calc(L"sh(1)+ch(1)");
    EXPECT_EQ(1, hyperbolic.status);
    EXPECT_NEAR(e, std::wcstod(hyperbolic.text.c_str(), nullptr), 1e-15);
}

TEST(ExpressionCalc, RadixSuffixes)
{
    const Case cases[] = {
        {L"12xo", 1, L"10.0000000000000000"},
        {L"ffxh", 1, L"255.0000000000000000"},
        {L"FFXH", 1, L"255.0000000000000000"},
        {L"101xb", 1, L"5.0000000000000000"},
        {L"1.1xb", 1, L"1.5000000000000000"},
        {L"0.4xo+1", 1, L"1.5000000000000000"},
        {L"10xh+10xo+10xb", 1, L"26.0000000000000000"},
        {L"19xo", 0, L"八进制数越界"},
        {L"1axo", 0, L"八进制数越界"},
        {L"12xb", 0, L"二进制数越界"},
        {L"xh", 0, L"缺少二元运算符"},
        {L"1.2.3xh", 0, L"缺少二元运算符"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(ExpressionCalc, OverflowAndBadOperands)
{
    const Case cases[] = {
        {L"1/0", 0, L"结果有溢出或值域越界"},
        {L"1/0+1", 0, L"结果有溢出或值域越界"},
        {L"ln(0)", 0, L"结果有溢出或值域越界"},
        {L"ln(0)+1", 0, L"结果有溢出或值域越界"},
        {L"sqr(-1)", 0, L"结果有溢出或值域越界"},
        {L"5%0", 0, L"结果有溢出或值域越界"},
        {L"10^400", 0, L"结果有溢出或值域越界"},
        {L"*5", 0, L"缺少参数"},
        // a missing or unreadable operand is an error, never a silent 0
        {L"5*", 0, L"缺少参数"},
        {L"5+", 0, L"缺少参数"},
        {L"2x+1", 0, L"缺少运算符"},
        {L"1+2y", 0, L"缺少运算符"},
        // a group right next to a number lacks its operator
        {L"2(3)", 0, L"缺少二元运算符"},
        {L"(1+2)(3)", 0, L"缺少二元运算符"},
        {L"(2)3", 0, L"缺少二元运算符"},
    };
    for (const Case& c : cases)
        Check(c);
}
