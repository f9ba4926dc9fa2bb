#pragma once
// Lengths at a display's resolution. Forms are designed at 96 dots per inch; every length of
// theirs (bounds, font heights, pen widths, distances) is laid out again at the resolution of
// the monitor a window is on, and lengths that are stored (the strip's size) go back to 96.
namespace zq {

inline constexpr int kDesignDpi = 96;

// `value`, a length at `fromDpi` dots per inch, at `toDpi`: rounded to the nearest pixel with
// halves away from zero (as the system's MulDiv), held within int. A resolution of 0 or less
// changes nothing. For toDpi >= fromDpi the way back gives the value again, so a size stored
// in design units never grows from one start to the next.
int ScaleToDpi(int value, int toDpi, int fromDpi = kDesignDpi);

} // namespace zq
