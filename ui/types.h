#pragma once
// Small value types of the widget model: colours, fonts, rectangles.
#include <cstdint>
#include <string>

namespace ui {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color black{0, 0, 0};
inline constexpr Color white{255, 255, 255};
inline constexpr Color blue{0, 0, 255};
inline constexpr Color red{255, 0, 0};
inline constexpr Color purple{128, 0, 128};
inline constexpr Color navy{0, 0, 128};
inline constexpr Color gray{128, 128, 128};
}  // namespace colors

// Size is the character height in pixels (Tahoma 12 px is the program's font).
struct Font {
    std::string name = "Tahoma";
    int size = 12;
    bool bold = false;
    bool underline = false;
    friend bool operator==(const Font&, const Font&) = default;
};

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0, height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Position and size of a control inside its parent's client area.
struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class MouseButton { left, right, middle };

}  // namespace ui
