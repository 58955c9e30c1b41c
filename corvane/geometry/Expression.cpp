// The evaluator works by rewriting the text: constants are replaced by their
// values, then the innermost parenthesised group is evaluated and replaced by
// its value until no group is left.  Within a group, functions are replaced by
// their values first, then operators by precedence.  Every value computed is
// written back with "%.16f".  A failure turns the text into
// "ERROR_<message>_", which ends the evaluation.
#include "corvane/geometry/Expression.h"

#include <cmath>
#include <cwchar>
#include <string>

namespace {

struct FunctionName
{
    const wchar_t* name;
    double (*apply)(double);
};

struct Constant
{
    const wchar_t* name;
    const wchar_t* text;
};

double Cot(double x) { return 1.0 / std::tan(x); }
double PowerOfTen(double x) { return std::pow(10.0, x); }
double Exp(double x) { return std::exp(x); }
double Cosh(double x) { return std::cosh(x); }
double Sqrt(double x) { return std::sqrt(x); }
double Sinh(double x) { return std::sinh(x); }
double Log10(double x) { return std::log10(x); }
double Cos(double x) { return std::cos(x); }
double Sin(double x) { return std::sin(x); }
double Tan(double x) { return std::tan(x); }
double Ln(double x) { return std::log(x); }
double Abs(double x) { return std::fabs(x); }
double Atan(double x) { return std::atan(x); }
double Asin(double x) { return std::asin(x); }
double Acos(double x) { return std::acos(x); }
// tanh, not sinh/cosh: the quotient overflows to an undefined value for |x| > 710.
double Tanh(double x) { return std::tanh(x); }

// In search order: a longer name is looked for before a name it contains.
const FunctionName kFunctions[] = {
    {L"e^", Exp},   {L"ch", Cosh},  {L"sqr", Sqrt}, {L"sh", Sinh},  {L"log", Log10}, {L"cos", Cos},
    {L"sin", Sin},  {L"tan", Tan},  {L"ln", Ln},    {L"abs", Abs},  {L"at", Atan},   {L"as", Asin},
    {L"ac", Acos},  {L"th", Tanh},  {L"exp", PowerOfTen},           {L"cot", Cot},
};

// In replacement order ("E" last, after the names that contain it).
const Constant kConstants[] = {
    {L"PI", L"3.1415926535897932384"},
    {L"GG", L"9.80665"},
    {L"EF", L"(8.988*10^9)"},
    {L"VM", L"0.02241383"},
    {L"BC", L"(1.380662*10^(-23))"},
    {L"MG", L"8.3144"},
    {L"GR", L"(6.6720*10^(-11))"},
    {L"NA", L"(6.022045*10^23)"},
    {L"LS", L"(2.99792458*10^8)"},
    {L"DC", L"(8.854187818*10^(-12))"},
    {L"E", L"2.7182818284590452353"},
};

const wchar_t kOperators[] = L"^/*%+-";

const wchar_t kEmptyExpression[] = L"表达式不能为空";
const wchar_t kNoOperatorBefore[] = L"缺少二元运算符";
const wchar_t kOverflow[] = L"结果有溢出或值域越界";

const wchar_t kErrMissingArgument[] = L"ERROR_缺少参数_";
const wchar_t kErrMissingOperator[] = L"ERROR_缺少运算符_";
const wchar_t kErrMissingBinary[] = L"ERROR_缺少二元运算符_";
const wchar_t kErrOverflow[] = L"ERROR_结果有溢出或值域越界_";
const wchar_t kErrEmptyGroup[] = L"ERROR_函数表达式为空_";
const wchar_t kErrInvalid[] = L"ERROR_无效表达式_";
const wchar_t kErrOctal[] = L"ERROR_八进制数越界_";
const wchar_t kErrBinary[] = L"ERROR_二进制数越界_";

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsOperator(wchar_t c) { return c != 0 && std::wcschr(kOperators, c) != nullptr; }
bool Contains(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

// A value as the text is rewritten with: "%.16f", or a "#IN" text for an
// infinite or undefined value (as the run-time prints them).
std::wstring ValueText(double value)
{
    if (std::isnan(value))
        return L"-1.#IND";
    if (std::isinf(value))
        return value > 0 ? L"1.#INF" : L"-1.#INF";
    CString text;
    text.Format(L"%.16f", value);
    return text.GetString();
}

// The first "--" becomes "+", and a "+" at the very start is dropped.
void TidySigns(std::wstring& text)
{
    const size_t pos = text.find(L"--");
    if (pos != std::wstring::npos)
        text.replace(pos, 2, L"+");
    if (!text.empty() && text[0] == L'+')
        text.erase(0, 1);
}

class CCalculation
{
public:
    CCalculation() = default;
    virtual ~CCalculation() = default;

    int Evaluate(const wchar_t* expression, CString& result);

private:
    bool ReadNumber(const std::wstring& text, size_t pos, double& value, size_t& end);
    bool IsPlainNumber(const std::wstring& text) const;
    bool ReplaceConstants(std::wstring& text) const;
    std::wstring ConvertRadixNumbers(std::wstring text) const;
    std::wstring EvaluateFlat(std::wstring text);
    bool ApplyFunctions(std::wstring& text);
    void ApplyOperator(std::wstring& text, size_t pos);

    // The text left over by the last number read.
    std::wstring m_rest;
};

// Reads the number at pos: an optional sign, digits with an optional decimal
// point, an optional exponent.  Leaves the rest of the text in m_rest.
bool CCalculation::ReadNumber(const std::wstring& text, size_t pos, double& value, size_t& end)
{
    size_t i = pos;
    const size_t n = text.size();
    if (i < n && (text[i] == L'+' || text[i] == L'-'))
        ++i;
    size_t digits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == L'.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        m_rest = text.substr(pos);
        end = pos;
        return false;
    }
    if (i < n && (text[i] == L'e' || text[i] == L'E')) {
        size_t j = i + 1;
        if (j < n && (text[j] == L'+' || text[j] == L'-'))
            ++j;
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    const std::wstring number = text.substr(pos, i - pos);
    value = std::wcstod(number.c_str(), nullptr);
    end = i;
    m_rest = text.substr(i);
    return true;
}

// Plain number: after any leading "-", no function name and no operator.
bool CCalculation::IsPlainNumber(const std::wstring& text) const
{
    const size_t start = text.find_first_not_of(L'-');
    if (start == std::wstring::npos)
        return true;
    const std::wstring body = text.substr(start);
    for (const FunctionName& f : kFunctions) {
        if (Contains(body, f.name))
            return false;
    }
    return body.find_first_of(kOperators) == std::wstring::npos;
}

// Replaces the constants' names by their values; false when a name follows a
// digit or ")" directly (the operator between them is missing).
bool CCalculation::ReplaceConstants(std::wstring& text) const
{
    for (const Constant& c : kConstants) {
        const size_t nameLength = std::wcslen(c.name);
        const size_t textLength = std::wcslen(c.text);
        size_t pos = 0;
        while ((pos = text.find(c.name, pos)) != std::wstring::npos) {
            if (pos > 0 && (IsDigit(text[pos - 1]) || text[pos - 1] == L')'))
                return false;
            text.replace(pos, nameLength, c.text);
            pos += textLength;
        }
    }
    return true;
}

// Replaces every number with a radix suffix by its value: first "xo"
// (octal), then "xh" (hexadecimal), then "xb" (binary).  Returns the text, or
// an ERROR text.
std::wstring CCalculation::ConvertRadixNumbers(std::wstring text) const
{
    struct Radix
    {
        const wchar_t* suffix;
        int base;
        const wchar_t* outOfRange;
    };
    static const Radix kRadixes[] = {
        {L"xo", 8, kErrOctal},
        {L"xh", 16, kErrMissingBinary},
        {L"xb", 2, kErrBinary},
    };
    auto isRadixChar = [](wchar_t c) { return IsDigit(c) || (c >= L'a' && c <= L'f') || c == L'.'; };

    for (const Radix& radix : kRadixes) {
        size_t pos;
        while ((pos = text.find(radix.suffix)) != std::wstring::npos) {
            size_t start = pos;
            while (start > 0 && isRadixChar(text[start - 1]))
                --start;
            double integer = 0.0;
            double fraction = 0.0;
            double weight = 1.0 / radix.base;
            bool point = false;
            bool anyDigit = false;
            for (size_t i = start; i < pos; ++i) {
                const wchar_t c = text[i];
                if (c == L'.') {
                    if (point)
                        return kErrMissingBinary;
                    point = true;
                    continue;
                }
                const int digit = IsDigit(c) ? c - L'0' : c - L'a' + 10;
                if (digit >= radix.base)
                    return radix.outOfRange;
                anyDigit = true;
                if (point) {
                    fraction += digit * weight;
                    weight /= radix.base;
                } else {
                    integer = integer * radix.base + digit;
                }
            }
            if (!anyDigit)
                return kErrMissingBinary;
            text.replace(start, pos + 2 - start, ValueText(integer + fraction));
        }
    }
    return text;
}

int CCalculation::Evaluate(const wchar_t* expression, CString& result)
{
    std::wstring text = expression ? expression : L"";
    if (text.empty()) {
        result = kEmptyExpression;
        return 0;
    }
    if (!ReplaceConstants(text)) {
        result = kNoOperatorBefore;
        return 0;
    }
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    text = L"(" + text + L")";

    int open = 0;
    for (wchar_t c : text) {
        if (c == L'(')
            ++open;
        else if (c == L')')
            --open;
    }
    if (open == 1) {
        text += L")";
    } else if (open == -1) {
        text.insert(0, L"(");
    } else if (open > 1) {
        result.Format(L"缺少%d个右括号", open);
        return 0;
    } else if (open < -1) {
        result.Format(L"缺少%d个左括号", -open);
        return 0;
    }

    std::wstring compact;
    compact.reserve(text.size());
    for (wchar_t c : text) {
        if (c != L' ' && c != L'\t')
            compact += c;
    }
    text = ConvertRadixNumbers(compact);

    // Innermost groups first.  A plain number still wrapped in parentheses
    // of its own ("(5)") is unwrapped too, so that "((5))" gives 5, not "(5)".
    while (!Contains(text, L"ERROR")) {
        if (IsPlainNumber(text) && text.find(L'(', 1) == std::wstring::npos)
            break;
        const size_t close = text.find(L')');
        const size_t open = close == std::wstring::npos || close == 0 ? std::wstring::npos
                                                                       : text.rfind(L'(', close - 1);
        if (open == std::wstring::npos) {
            text = kErrInvalid;
            break;
        }
        const std::wstring value = EvaluateFlat(text.substr(open + 1, close - open - 1));
        // A number directly before or after a group lacks its operator
        // (unchecked, "2(3)" would run together into 23).
        const wchar_t before = open > 0 ? text[open - 1] : 0;
        const wchar_t after = close + 1 < text.size() ? text[close + 1] : 0;
        if (!Contains(value, L"ERROR") && (IsDigit(before) || before == L'.' || before == L')' ||
                                           IsDigit(after) || after == L'.' || after == L'(')) {
            text = kErrMissingBinary;
            break;
        }
        text = text.substr(0, open) + value + text.substr(close + 1);
    }

    if (Contains(text, L"ERROR")) {
        // "ERROR_<message>_" gives the message: cut from the last "_" on,
        // then up to the "_" before it.  A text without "_" gives nothing.
        const size_t last = text.rfind(L'_');
        std::wstring message = last == std::wstring::npos ? std::wstring() : text.substr(0, last);
        const size_t mark = message.rfind(L'_');
        if (mark != std::wstring::npos)
            message.erase(0, mark + 1);
        result = message.c_str();
        return 0;
    }
    if (Contains(text, L"#IN")) {
        result = kOverflow;
        return 0;
    }
    if (!text.empty() && text.front() == L'(')
        text.erase(0, 1);
    if (!text.empty() && text.back() == L')')
        text.pop_back();
    // A number with several signs ("--0.5", as "-$JK" of a negative value
    // or "-(-0.5)" leave it) comes back with the one sign they make, so the
    // result text is a number the caller can read.
    const size_t signs = text.find_first_not_of(L'-');
    if (signs != std::wstring::npos && signs > 1)
        text.replace(0, signs, signs % 2 ? L"-" : L"");
    result = text.c_str();
    return 1;
}

// Evaluates a text without parentheses: functions, then "^", "/", "*", "%",
// then "-" and "+" from left to right.
std::wstring CCalculation::EvaluateFlat(std::wstring text)
{
    if (text.empty())
        return kErrEmptyGroup;
    if (IsPlainNumber(text))
        return text;
    if (!ApplyFunctions(text))
        return text;

    for (const wchar_t* op = L"^/*%"; *op; ++op) {
        size_t pos;
        while ((pos = text.find(*op)) != std::wstring::npos) {
            ApplyOperator(text, pos);
            if (Contains(text, L"ERROR"))
                return text;
        }
    }

    if (!text.empty() && (text[0] == L'-' || text[0] == L'+'))
        text.insert(0, L"0");

    // Minus signs and subtractions, left to right.
    size_t pos = 0;
    while ((pos = text.find(L'-', pos)) != std::wstring::npos) {
        size_t run = 1;
        while (pos + run < text.size() && text[pos + run] == L'-')
            ++run;
        if (run >= 2) {
            text.replace(pos, run, run % 2 == 0 ? (pos == 0 ? L"" : L"+") : L"-");
            continue;
        }
        if (pos + 1 < text.size() && text[pos + 1] == L'+') {
            text.erase(pos + 1, 1);
            continue;
        }
        if (pos == 0 || text[pos - 1] == L'+') {
            ++pos;   // the sign of the number after it
            continue;
        }
        ApplyOperator(text, pos);
        if (Contains(text, L"ERROR"))
            return text;
        pos = 0;
    }

    // Additions, left to right.
    size_t plus;
    while ((plus = text.find(L"++")) != std::wstring::npos)
        text.erase(plus, 1);
    while ((plus = text.find(L'+')) != std::wstring::npos) {
        ApplyOperator(text, plus);
        if (Contains(text, L"ERROR"))
            return text;
    }
    return text;
}

// Replaces each function name and the number after it by the function's
// value, searching the names in list order until none is found.  False with
// an ERROR text when a function cannot be applied.
bool CCalculation::ApplyFunctions(std::wstring& text)
{
    for (;;) {
        const FunctionName* found = nullptr;
        size_t pos = std::wstring::npos;
        for (const FunctionName& f : kFunctions) {
            pos = text.find(f.name);
            if (pos != std::wstring::npos) {
                found = &f;
                break;
            }
        }
        if (!found)
            return true;

        const size_t argument = pos + std::wcslen(found->name);
        double x = 0.0;
        size_t end = 0;
        if (!ReadNumber(text, argument, x, end)) {
            text = L"ERROR:[" + text.substr(argument) + L"]无法识别的函数";
            return false;
        }
        if (pos > 0 && IsDigit(text[pos - 1])) {
            text = kErrMissingBinary;
            return false;
        }
        text = text.substr(0, pos) + ValueText(found->apply(x)) + m_rest;
        TidySigns(text);
    }
}

// Evaluates the operator at pos with the numbers on either side of it and
// puts the value in their place.
void CCalculation::ApplyOperator(std::wstring& text, size_t pos)
{
    const wchar_t op = text[pos];
    if (pos == 0 && op != L'-') {
        text = kErrMissingArgument;
        return;
    }
    // Left operand: back to the previous operator; a "-" there is the
    // operand's sign when it starts the text or follows another operator.
    size_t left = pos;
    while (left > 0 && !IsOperator(text[left - 1]))
        --left;
    if (left > 0 && text[left - 1] == L'-' && (left - 1 == 0 || IsOperator(text[left - 2])))
        --left;
    // Right operand: on to the next operator, a "-" right after this one
    // being its sign.
    size_t right = pos + 1;
    if (right < text.size() && text[right] == L'-')
        ++right;
    while (right < text.size() && !IsOperator(text[right]))
        ++right;

    // An empty operand, or text left after either number, fails: read as 0 or
    // ignored it would turn a mistyped expression into a wrong value.
    if (left == pos || right == pos + 1) {
        text = kErrMissingArgument;
        return;
    }

    double a = 0.0;
    double b = 0.0;
    size_t end = 0;
    bool ok = ReadNumber(text.substr(left, pos - left), 0, a, end) && m_rest.empty();
    ok = ok && ReadNumber(text.substr(pos + 1, right - pos - 1), 0, b, end) && m_rest.empty();
    if (ok) {
        double value = 0.0;
        switch (op) {
        case L'^': value = std::pow(a, b); break;
        case L'/': value = a / b; break;
        case L'*': value = a * b; break;
        case L'%': value = std::fmod(a, b); break;
        case L'+': value = a + b; break;
        case L'-': value = a - b; break;
        default: ok = false; break;
        }
        if (ok)
            text.replace(left, right - left, ValueText(value));
    }

    if (Contains(text, L"#IN"))
        text = kErrOverflow;
    else if (!ok || Contains(text, L"ERROR"))
        text = kErrMissingOperator;
    else
        TidySigns(text);
}

} // namespace

int tkx_ExpressCalc(const wchar_t* expression, CString& result)
{
    if (!expression || !*expression || std::wcscmp(expression, L"NULL") == 0) {
        result = L"0";
        return 1;
    }
    CCalculation calculation;
    return calculation.Evaluate(expression, result);
}
