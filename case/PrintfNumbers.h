#pragma once

#include <string>

// The texts the forms put into their fields, as printf writes them in the C
// locale whatever the user's locale is: "%d" and "%g" (six significant
// digits, no trailing zeros, exponent form below 1e-4 and from 1e6).
std::string FormatD(int value);
std::string FormatG(double value);
