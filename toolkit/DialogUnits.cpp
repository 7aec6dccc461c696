#include "DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace {

// Multiplies, then divides with rounding to the nearest integer.
int MulDiv(int number, int numerator, int denominator)
{
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

}  // namespace

QFont DialogFont(const char* fontName, int pointSize)
{
    const QString family = QString::fromUtf8(fontName);
    QFont font;
    if (family != QLatin1String("MS Sans Serif") && QFontDatabase::hasFamily(family))
        font.setFamily(family);
    else
        font.setFamilies(QStringList{QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}

QSize DialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((alphabetWidth / 26 + 1) / 2, metrics.height());
}

QRect MapDialogRect(const QRect& dialogUnits, QSize baseUnits)
{
    const int left = MulDiv(dialogUnits.x(), baseUnits.width(), 4);
    const int top = MulDiv(dialogUnits.y(), baseUnits.height(), 8);
    const int width = MulDiv(dialogUnits.width(), baseUnits.width(), 4);
    const int height = MulDiv(dialogUnits.height(), baseUnits.height(), 8);
    return QRect(left, top, width, height);
}
