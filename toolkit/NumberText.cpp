#include "NumberText.h"

#include <charconv>
#include <cstddef>
#include <system_error>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::size_t SkipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

std::size_t SkipSign(std::string_view text, std::size_t at)
{
    return (at < text.size() && (text[at] == '+' || text[at] == '-')) ? at + 1 : at;
}

// The whole of TEXT is [sign] digits.
bool IsIntegerSyntax(std::string_view text)
{
    const std::size_t digits = SkipSign(text, 0);
    const std::size_t end = SkipDigits(text, digits);
    return end > digits && end == text.size();
}

// The whole of TEXT is [sign] (digits [. [digits]] | . digits) [e [sign] digits].
bool IsRealSyntax(std::string_view text)
{
    std::size_t at = SkipSign(text, 0);
    const std::size_t integerEnd = SkipDigits(text, at);
    std::size_t mantissaDigits = integerEnd - at;
    at = integerEnd;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, at + 1);
        mantissaDigits += fractionEnd - (at + 1);
        at = fractionEnd;
    }
    if (mantissaDigits == 0)
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        const std::size_t exponentDigits = SkipSign(text, at + 1);
        at = SkipDigits(text, exponentDigits);
        if (at == exponentDigits)
            return false;
    }
    return at == text.size();
}

// std::from_chars takes no leading plus.
std::string_view WithoutPlus(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    return text;
}

// Reads TEXT, checked by SYNTAX, as a number of VALUE's type.
template <typename Number>
bool ParseNumber(std::string_view text, bool (*syntax)(std::string_view), Number& value)
{
    const std::string_view number = TrimBlanks(text);
    if (!syntax(number))
        return false;
    const std::string_view digits = WithoutPlus(number);
    Number result {};
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
    if (error != std::errc() || end != digits.data() + digits.size())
        return false;
    if (result == Number {} && number.front() != '0')
        return false;
    value = result;
    return true;
}

}  // namespace

bool ParseIntegerText(std::string_view text, int& value)
{
    return ParseNumber(text, IsIntegerSyntax, value);
}

bool ParseRealText(std::string_view text, double& value)
{
    return ParseNumber(text, IsRealSyntax, value);
}

std::string FormatIntegerText(int value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FormatRealText(double value, int significant)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significant);
    return std::string(buffer, result.ptr);
}
