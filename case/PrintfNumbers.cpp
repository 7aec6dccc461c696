#include "PrintfNumbers.h"

#include <charconv>
#include <system_error>

std::string FormatD(int value)
{
    return std::to_string(value);
}

std::string FormatG(double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
    if (result.ec != std::errc())
        return "nan";
    return std::string(text, result.ptr);
}
