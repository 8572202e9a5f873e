// colors.h - the colour table of the example application.
// Written by the header generator: change its table, not this file.

#ifndef EXAMPLE_COLORS_H
#define EXAMPLE_COLORS_H

enum class Color : int {
    Black = 0x000000,
    Red = 0xFF0000,
    Green = 0x00FF00,
    Blue = 0x0000FF,
    White = 0xFFFFFF,
};

inline const char* toString(Color color) {
    switch (color) {
    case Color::Black:
        return "Black";
    case Color::Red:
        return "Red";
    case Color::Green:
        return "Green";
    case Color::Blue:
        return "Blue";
    case Color::White:
        return "White";
    }
    return "unknown";
}

#endif  // EXAMPLE_COLORS_H
