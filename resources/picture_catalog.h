// The pictures the program holds, by number: kind and size in pixels.
// The sizes fit the controls that show them (at 15 twips a pixel).
#pragma once
#include <array>
#include <cstdint>

struct tPictureEntry {
    int32_t lNo;
    bool booIcon;  // held as an icon, else as a bitmap
    int lWidth;
    int lHeight;
};

inline constexpr std::array<tPictureEntry, 31> kPictureCatalog{{
    {12401, false, 48, 34},    // arrow up (kV and mA up buttons, 900 x 690 twips)
    {12404, false, 48, 34},    // arrow down
    {12411, false, 107, 107},  // TMJ mode, not selected (1605 x 1605 twips)
    {12412, false, 107, 107},  // TMJ mode, selected
    {12421, false, 164, 124},  // READY, raised (button 2700 x 2100 twips)
    {12422, false, 164, 124},  // READY, pressed
    {12425, false, 74, 46},    // Reset (button 1290 x 900 twips)
    {12428, false, 74, 46},    // Close
    {12450, false, 56, 86},    // seven-segment digits 0..9
    {12451, false, 56, 86},
    {12452, false, 56, 86},
    {12453, false, 56, 86},
    {12454, false, 56, 86},
    {12455, false, 56, 86},
    {12456, false, 56, 86},
    {12457, false, 56, 86},
    {12458, false, 56, 86},
    {12459, false, 56, 86},
    {12462, false, 49, 49},  // large patient: released, pressed, unavailable (735 twips square)
    {12463, false, 49, 49},
    {12464, false, 49, 49},
    {12465, false, 49, 49},  // middle patient
    {12466, false, 49, 49},
    {12467, false, 49, 49},
    {12468, false, 49, 49},  // small patient: released, pressed
    {12469, false, 49, 49},
    {15203, true, 333, 30},    // logo (5000 x 450 twips)
    {15204, false, 107, 107},  // panorama Adult, not selected
    {15205, false, 107, 107},  // panorama Adult, selected
    {15206, false, 107, 107},  // panorama Child, not selected
    {15207, false, 107, 107},  // panorama Child, selected
}};
