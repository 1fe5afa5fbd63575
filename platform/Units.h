#pragma once

#include <QRect>

#include <cmath>

// Lengths as documents and designed windows give them: twips (1/1440 inch),
// points (20 twips), half-points (font sizes in document files) and the
// screen's 96-dpi pixels (15 twips), which are Qt's device-independent pixels.
namespace platform::units {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = 20;
inline constexpr int kHalfPointsPerPoint = 2;
inline constexpr int kTwipsPerPixel = 15;
// US Letter, 8.5 by 11 inches: the template's paper and the one assumed where a page has none.
inline constexpr int kLetterWidth = 17 * kTwipsPerInch / 2;
inline constexpr int kLetterHeight = 11 * kTwipsPerInch;

inline constexpr double pointsToTwips(double points) { return points * kTwipsPerPoint; }
inline constexpr double twipsToPoints(double twips) { return twips / kTwipsPerPoint; }
inline constexpr double halfPointsToPoints(double halfPoints) { return halfPoints / kHalfPointsPerPoint; }
inline constexpr double pointsToHalfPoints(double points) { return points * kHalfPointsPerPoint; }

inline int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

inline int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

}  // namespace platform::units
