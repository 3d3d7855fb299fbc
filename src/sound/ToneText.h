#pragma once
// Tone frequencies as the setup dialog shows and reads them: "%f" out, the
// standard decimal conversion in (a leading number, else 0.0).

#include <string>

std::string FormatTone(double hertz);
// Reads at most the dialog's 255 characters. A text that is no finite number
// ("abc", "nan", "1e999") gives 0.0, as one that is not a number at all.
double ParseTone(const std::string& text);
