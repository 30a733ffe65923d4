// Constants the program shares, each with its unit and the reason for its value. The
// program uses several values of pi on purpose: each part keeps the one its results
// were published or drawn with, so that no printed digit and no pixel moves.
#pragma once

namespace fv {

// pi to the full precision of a double: the exact motion, its forcing periods and
// phases, and the physical bounds it checks (nothing published depends on its digits).
constexpr double fullPi = 3.141592653589793;
constexpr double fullTwoPi = 6.283185307179586;

// pi to 14 decimals: the closed forms (YZA, YZB) and the stick-slip search. The
// program's amplitudes were published with it; the full double would move their last
// printed digits.
constexpr double analysisPi = 3.14159265358979;

// pi to 10 decimals: the circles the window draws (the red point, the mass, the dots).
// Their vertices, and so the pixels, are those this value has always given.
constexpr double discPi = 3.1415926536;

// pi / 2 to 15 decimals: the force arrow points straight up or down [rad].
constexpr double halfPi = 1.570796326794895;

// Radians per degree to 11 decimals: the printed phase lag and the arrow's rotation
// (the digits the program has always printed) [rad/deg].
constexpr double radiansPerDegree = 0.01745329252;

} // namespace fv
