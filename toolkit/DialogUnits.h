#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "DialogTemplate.h"

// Dialog units are measured in the dialog's font: horizontally a quarter of
// the font's average character width, vertically an eighth of its height.

// The font a template names.  "MS Sans Serif" is not on this platform; it and
// any other missing face become the machine's sans-serif face at the same size.
QFont DialogFont(const char* fontName, int pointSize);

// The average character width and the height of FONT, in pixels.
QSize DialogBaseUnits(const QFont& font);

// A rectangle in dialog units turned into pixels, rounded to the nearest pixel.
QRect MapDialogRect(const QRect& dialogUnits, QSize baseUnits);
