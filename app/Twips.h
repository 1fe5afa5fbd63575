#pragma once

#include <QRect>
#include <cmath>

namespace app {

// Window geometry is designed in twips (1/1440 inch); at 96 dots per inch a
// pixel is 15 twips. Qt's device-independent pixels are those 96-dpi pixels,
// so one factor serves every screen.
inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

inline int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

}  // namespace app
