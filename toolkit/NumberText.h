#pragma once

#include <string>
#include <string_view>

// Numbers in field texts, always with the decimal point whatever the locale.
//
// A field holds optional blanks or tabs, an optionally signed decimal integer
// (or real number, exponent allowed), optional blanks or tabs, and nothing
// else.  A text that reads as zero but does not begin with the digit 0 is
// refused, so an empty field, "-0" and ".0" are refused.  Numbers outside the
// range of the type are refused too rather than clamped.

bool ParseIntegerText(std::string_view text, int& value);
bool ParseRealText(std::string_view text, double& value);

// "%d".
std::string FormatIntegerText(int value);
// "%.*g": the shortest general form with at most SIGNIFICANT digits, so 298.0
// is "298" and 14.696 is "14.696".  Fields show 15 digits; the forms' own
// texts use 6, as "%g" does.
std::string FormatRealText(double value, int significant = 15);
