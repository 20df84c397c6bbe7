#pragma once

namespace common {

// The one conversion from the layout units of the windows to the pixels of
// a screen: the layouts are written in pixels at 96 dots per inch (100 %
// scaling) or in twips (1440 to the inch), and each window turns them into
// its own screen's pixels, so that at 125, 150 or 200 % every control and
// gap grows with the text.
class Scaling {
 public:
  static constexpr int kBaseDpi = 96;

  // A DPI that is not positive (a failed query) counts as 96.
  constexpr explicit Scaling(int dpi = kBaseDpi) : dpi_(dpi > 0 ? dpi : kBaseDpi) {}

  constexpr int dpi() const { return dpi_; }

  static constexpr int kTwipsPerInch = 1440;

  // A length in units of which unitsPerInch make an inch, in this DPI's
  // pixels; halves are rounded away from zero, so that a 1-pixel line at
  // 150 % becomes 2 pixels wide and a negative offset mirrors a positive one.
  constexpr int FromUnits(int value, int unitsPerInch) const {
    return Round(value, dpi_, unitsPerInch);
  }
  // A length in pixels at 96 DPI.
  constexpr int Px(int pixels96) const { return FromUnits(pixels96, kBaseDpi); }
  // A length in twips.
  constexpr int Twips(int twips) const { return FromUnits(twips, kTwipsPerInch); }

  // The side of the toolbar images: 16 pixels scaled, to the nearest size
  // that the art is drawn in (16, 24 or 32), ties to the larger.
  constexpr int ToolbarImageSize() const {
    const int wanted = Px(16);
    if (wanted < 20) return 16;
    if (wanted < 28) return 24;
    return 32;
  }

 private:
  static constexpr int Round(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
  }

  int dpi_;
};

}  // namespace common
