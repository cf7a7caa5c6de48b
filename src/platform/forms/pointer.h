// The screen: its mouse pointer, which a window sets while it works, and its size.
#pragma once

namespace forms {

constexpr int vbDefault = 0;
constexpr int vbArrow = 1;
constexpr int vbHourglass = 11;
constexpr int vbArrowHourglass = 13;

// Screen.MousePointer: setting replaces the shape (never stacks on Qt's override
// cursor stack); 0 and 1 give the normal pointer back.
class Screen {
public:
    static void setMousePointer(int pointer);
    static int MousePointer();
    // Screen size in twips.
    static int Width();
    static int Height();
};

}  // namespace forms
