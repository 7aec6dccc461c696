#include "TextFields.h"

#include <algorithm>
#include <charconv>
#include <cmath>

std::string_view TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> SplitWords(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos)
            break;
        std::size_t end = text.find_first_of(" \t", start);
        if (end == std::string_view::npos)
            end = text.size();
        words.push_back(text.substr(start, end - start));
        pos = end;
    }
    return words;
}

std::optional<double> ParseWholeReal(std::string_view text)
{
    text = TrimBlanks(text);
    char copy[64];
    if (text.empty() || text.size() >= sizeof copy)
        return std::nullopt;
    std::size_t size = 0;
    for (char c : text)
        copy[size++] = (c == 'D' || c == 'd') ? 'E' : c;
    const char* begin = copy;
    if (*begin == '+')
        ++begin;
    double value = 0.0;
    const auto [end, error] = std::from_chars(begin, copy + size, value);
    if (error != std::errc() || end != copy + size || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string_view Columns(std::string_view line, std::size_t first, std::size_t count)
{
    if (first >= line.size())
        return {};
    return line.substr(first, count);
}
