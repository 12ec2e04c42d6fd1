#pragma once

namespace platform {

// Screen geometry is laid out in twips: 1440 to the inch, 15 to the pixel at 96 dpi.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

} // namespace platform
