#include "kestrel/artwork.h"

#include <algorithm>
#include <cmath>

namespace kestrel {
namespace {
// One letter a colour; "." lets the background show through.
constexpr struct {
  char key;
  Rgb colour;
} kPalette[] = {
    {'k', {0, 0, 0}},        // black
    {'w', {255, 255, 255}},  // white
    {'g', {192, 192, 192}},  // grey
    {'G', {128, 128, 128}},  // dark grey
    {'d', {64, 64, 64}},     // charcoal
    {'c', {168, 212, 255}},  // pale blue
    {'b', {0, 96, 216}},     // blue
    {'B', {0, 40, 128}},     // navy
    {'r', {224, 32, 32}},    // red
    {'e', {40, 176, 40}},    // green
    {'E', {0, 110, 0}},      // dark green
    {'y', {255, 224, 64}},   // yellow
    {'Y', {176, 128, 0}},    // ochre
    {'o', {255, 150, 30}},   // orange
    {'t', {236, 220, 180}},  // beige
};

}  // namespace

std::optional<Rgb> ArtColour(char key) {
  for (const auto& entry : kPalette) {
    if (entry.key == key) return entry.colour;
  }
  return std::nullopt;
}

namespace {

using Letters = std::vector<std::string>;

// The letter at (x, y), or the nearest one inside the picture, so that the
// border pixels see themselves as their outer neighbours.
char LetterAt(const Letters& letters, int x, int y) {
  const int last = static_cast<int>(letters.size()) - 1;
  const auto row = static_cast<std::size_t>(std::clamp(y, 0, last));
  const auto column = static_cast<std::size_t>(std::clamp(x, 0, last));
  return column < letters[row].size() ? letters[row][column] : '.';
}

// Each letter becomes two by two; a corner takes the colour of the two
// neighbours that meet there when they agree and the other two do not, so
// that a diagonal stays a thin diagonal instead of a staircase.
Letters Double(const Letters& letters) {
  const int size = static_cast<int>(letters.size());
  Letters out(static_cast<std::size_t>(size * 2), std::string(static_cast<std::size_t>(size * 2), '.'));
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const char p = LetterAt(letters, x, y);
      const char a = LetterAt(letters, x, y - 1);
      const char b = LetterAt(letters, x + 1, y);
      const char c = LetterAt(letters, x - 1, y);
      const char d = LetterAt(letters, x, y + 1);
      auto& top = out[static_cast<std::size_t>(2 * y)];
      auto& bottom = out[static_cast<std::size_t>(2 * y + 1)];
      const auto left = static_cast<std::size_t>(2 * x);
      top[left] = c == a && c != d && a != b ? a : p;
      top[left + 1] = a == b && a != c && b != d ? b : p;
      bottom[left] = d == c && d != b && c != a ? c : p;
      bottom[left + 1] = b == d && b != a && d != c ? d : p;
    }
  }
  return out;
}

// Each letter becomes three by three by the same rule, the centre staying.
Letters Triple(const Letters& letters) {
  const int size = static_cast<int>(letters.size());
  Letters out(static_cast<std::size_t>(size * 3), std::string(static_cast<std::size_t>(size * 3), '.'));
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const char a = LetterAt(letters, x - 1, y - 1), b = LetterAt(letters, x, y - 1),
                 c = LetterAt(letters, x + 1, y - 1), d = LetterAt(letters, x - 1, y),
                 e = LetterAt(letters, x, y), f = LetterAt(letters, x + 1, y),
                 g = LetterAt(letters, x - 1, y + 1), h = LetterAt(letters, x, y + 1),
                 i = LetterAt(letters, x + 1, y + 1);
      const bool upLeft = d == b && b != f && d != h;
      const bool upRight = b == f && b != d && f != h;
      const bool downLeft = d == h && d != f && b != h;
      const bool downRight = h == f && d != f && b != h;
      const char block[9] = {
          upLeft ? d : e,
          (upLeft && e != c) || (upRight && e != a) ? b : e,
          upRight ? f : e,
          (upLeft && e != g) || (downLeft && e != a) ? d : e,
          e,
          (upRight && e != i) || (downRight && e != c) ? f : e,
          downLeft ? d : e,
          (downLeft && e != i) || (downRight && e != g) ? h : e,
          downRight ? f : e,
      };
      for (int n = 0; n < 9; ++n) {
        out[static_cast<std::size_t>(3 * y + n / 3)][static_cast<std::size_t>(3 * x + n % 3)] =
            block[n];
      }
    }
  }
  return out;
}

// The enlargement nearest above the size, preferring one that the size
// divides, so that averaging down takes whole blocks: 24 from 16 is
// tripled and halved rather than doubled and shrunk by a third.
Letters Enlarged(const Letters& letters, int size) {
  const int width = static_cast<int>(letters.size());
  int bestFactor = 0;
  for (const int factor : {1, 2, 3, 4, 6, 8}) {
    const int enlarged = width * factor;
    if (enlarged < size) continue;
    if (enlarged % size == 0) {
      bestFactor = factor;
      break;
    }
    if (bestFactor == 0) bestFactor = factor;
  }
  if (bestFactor == 0) bestFactor = 8;
  Letters out = letters;
  for (int factor = bestFactor; factor > 1;) {
    if (factor % 3 == 0) {
      out = Triple(out);
      factor /= 3;
    } else {
      out = Double(out);
      factor /= 2;
    }
  }
  return out;
}

}  // namespace

std::vector<std::optional<Rgb>> DrawArt(const PixelArt& art, int size) {
  std::vector<std::optional<Rgb>> pixels;
  if (size <= 0 || art.Width() == 0 || art.Width() != art.Height()) return pixels;
  pixels.resize(static_cast<std::size_t>(size * size));
  const Letters letters = Enlarged(art.rows, size);
  const int from = static_cast<int>(letters.size());
  // Each pixel averages the letters its square covers, weighted by the part
  // of each it covers: whole letters when the size divides the enlargement.
  for (int y = 0; y < size; ++y) {
    const double top = static_cast<double>(y) * from / size;
    const double bottom = static_cast<double>(y + 1) * from / size;
    for (int x = 0; x < size; ++x) {
      const double left = static_cast<double>(x) * from / size;
      const double right = static_cast<double>(x + 1) * from / size;
      double opaque = 0, all = 0, red = 0, green = 0, blue = 0;
      for (int row = static_cast<int>(top); row < from && row < bottom; ++row) {
        const double height = std::min<double>(row + 1, bottom) - std::max<double>(row, top);
        for (int column = static_cast<int>(left); column < from && column < right; ++column) {
          const double weight =
              height * (std::min<double>(column + 1, right) - std::max<double>(column, left));
          all += weight;
          const auto colour = ArtColour(LetterAt(letters, column, row));
          if (!colour) continue;
          opaque += weight;
          red += weight * colour->red;
          green += weight * colour->green;
          blue += weight * colour->blue;
        }
      }
      if (all <= 0 || opaque * 2 < all) continue;
      const auto channel = [opaque](double sum) {
        return static_cast<std::uint8_t>(std::lround(sum / opaque));
      };
      pixels[static_cast<std::size_t>(y * size + x)] =
          Rgb{channel(red), channel(green), channel(blue)};
    }
  }
  return pixels;
}

// The pictures keep one row of pixels a line.
// clang-format off
const std::vector<PixelArt>& ToolbarImages() {
  static const std::vector<PixelArt> images = {
      // 1. Network: two computers on one cable
      {{
          "kkkkkkkk........",
          "kcccccck........",
          "kcwcccck........",
          "kccccbck........",
          "kcccccck........",
          "kkkkkkkk........",
          "...kk...........",
          "..kkkk..........",
          "...rr...........",
          "...rr...kkkkkkkk",
          "...rrrrrkcccccck",
          "........kcwcccck",
          "........kccccbck",
          "........kcccccck",
          "........kkkkkkkk",
          "..........kkkk..",
      }},
      // 2. Modem: a telephone
      {{
          "................",
          "................",
          "...kkkkkkkkkk...",
          "..kddddddddddk..",
          ".kddkkkkkkkkddk.",
          ".kdk........kdk.",
          ".kkk..kkkk..kkk.",
          ".....kggggk.....",
          "....kgdgdgGk....",
          "...kggggggggk...",
          "..kgdgdgdgdgGk..",
          "..kggggggggggk..",
          "..kgdgdgdgdgGk..",
          "..kGGGGGGGGGGk..",
          "..kkkkkkkkkkkk..",
          "................",
      }},
      // 3. System: a computer
      {{
          "................",
          ".kkkkkkkkkkkk...",
          ".kggggggggggGk..",
          ".kgkkkkkkkkkGk..",
          ".kgkbbbbbbbkGk..",
          ".kgkbcbbbbbkGk..",
          ".kgkbbbbbbbkGk..",
          ".kgkbbbbbbbkGk..",
          ".kgkkkkkkkkkGk..",
          ".kggggggggggGk..",
          ".kGGGGGGGGGGGk..",
          ".kkkkkkkkkkkkk..",
          ".....kgGk.......",
          "..kkkkkkkkkkk...",
          ".kgggggggeggGk..",
          ".kkkkkkkkkkkkk..",
      }},
      // 4. Backup: a floppy disk
      {{
          "kkkkkkkkkkkkkkk.",
          "kBkwwwwwwwwwkBk.",
          "kBkwwwwwwwwwkBk.",
          "kBkwGGGGGGGwkBk.",
          "kBkwwwwwwwwwkBk.",
          "kBkwGGGGGGGwkBk.",
          "kBkwwwwwwwwwkBk.",
          "kBBkkkkkkkkkBBk.",
          "kBBBBBBBBBBBBBk.",
          "kBBkkkkkkkkkBBk.",
          "kBBkgggkGGkgkBk.",
          "kBBkgggkGGkgkBk.",
          "kBBkgggkGGkgkBk.",
          "kBBkgggggggggBk.",
          ".kkkkkkkkkkkkkk.",
          "................",
      }},
      // 5. Ping: a signal going out
      {{
          "................",
          "....kkkkkkkk....",
          "..kkbbbbbbbbkk..",
          ".kbbkkkkkkkkbbk.",
          "kbbk........kbbk",
          "kbk..kkkkkk..kbk",
          ".k..kbbbbbbk..k.",
          "...kbbkkkkbbk...",
          "...kbk....kbk...",
          "....k..kk..k....",
          "......krrk......",
          ".....krrrrk.....",
          ".....krrrrk.....",
          "......krrk......",
          ".......kk.......",
          "................",
      }},
      // 6. Internet: a globe
      {{
          ".....kkkkkk.....",
          "...kkbbbeebkk...",
          "..kbbbbeeeebbk..",
          ".kbeebbeeebbbbk.",
          ".kbeeeebeebbbbk.",
          "kbbeeeebbbbbeebk",
          "kbbeeeeebbbeeeek",
          "kbbbeeeebbbeeeek",
          "kbbbbeebbbbbeebk",
          "kbbbbbeeebbbbbbk",
          "kbbbbbeeeeebbbbk",
          ".kbbbbeeeeebbbk.",
          ".kbbbbbeeebbbbk.",
          "..kbbbbbeebbbk..",
          "...kkbbbbbbkk...",
          ".....kkkkkk.....",
      }},
      // 7. Web site: a home page
      {{
          "................",
          ".......kk.......",
          "......krrk......",
          ".....krrrrk.....",
          "....krrrrrrk....",
          "...krrrrrrrrk...",
          "..krrrrrrrrrrk..",
          ".kkkkkkkkkkkkkk.",
          "..kttttttttttk..",
          "..ktbbtttkkktk..",
          "..ktbbtttkYktk..",
          "..ktttttkkYktk..",
          "..ktttttkYYktk..",
          "..ktttttkYYktk..",
          "..kkkkkkkkkkkk..",
          "................",
      }},
      // 8. E-mail: an envelope
      {{
          "................",
          "................",
          "................",
          "kkkkkkkkkkkkkkkk",
          "kwkwwwwwwwwwwkwk",
          "kwwkwwwwwwwwkwwk",
          "kwwwkwwwwwwkwwwk",
          "kwwwwkwwwwkwwwwk",
          "kwwwwkkwwkkwwwwk",
          "kwwwkwwkkwwkwwwk",
          "kwwkwwwwwwwwkwwk",
          "kwkwwwwwwwwwwkwk",
          "kkwwwwwwwwwwwwkk",
          "kkkkkkkkkkkkkkkk",
          "................",
          "................",
      }},
      // 9. Restore: an arrow turning back
      {{
          "................",
          "................",
          "....k...........",
          "...kbk..........",
          "..kbbkkkkkkk....",
          ".kbbbbbbbbbbkk..",
          "kbbbbbbbbbbbbbk.",
          ".kbbbbkkkkkkbbbk",
          "..kbbk......kbbk",
          "...kbk.......kbk",
          "....k.......kbbk",
          "..........kkbbk.",
          "......kkkkbbbk..",
          "......kbbbbkk...",
          "......kkkkk.....",
          "................",
      }},
      // 10. Apply: a check mark
      {{
          "................",
          "................",
          "..............kk",
          ".............keE",
          "............keEk",
          "...........keEk.",
          "..........keEk..",
          ".kk......keEk...",
          "keEk....keEk....",
          "kEeEk..keEk.....",
          ".kEeEkkeEk......",
          "..kEeEeEk.......",
          "...kEeEk........",
          "....kEk.........",
          ".....k..........",
          "................",
      }},
      // 11. Help: a question mark
      {{
          ".....kkkkkk.....",
          "...kkbbbbbbkk...",
          "..kbbbbbbbbbbk..",
          ".kbbbbwwwwbbbbk.",
          ".kbbbwwbbwwbbbk.",
          "kbbbbwwbbwwbbbbk",
          "kbbbbbbbwwbbbbbk",
          "kbbbbbbwwbbbbbbk",
          "kbbbbbbwwbbbbbbk",
          "kbbbbbbbbbbbbbbk",
          "kbbbbbbwwbbbbbbk",
          ".kbbbbbwwbbbbbk.",
          ".kbbbbbbbbbbbbk.",
          "..kbbbbbbbbbbk..",
          "...kkbbbbbbkk...",
          ".....kkkkkk.....",
      }},
  };
  return images;
}

const PixelArt& TipPicture() {
  // A light bulb: an idea.
  static const PixelArt bulb = {{
      "................................",
      "...............kk...............",
      "............kkkyykkk............",
      ".....o....kkyyyyyyyykk....o.....",
      "......o..kyywwyyyyyyyyk..o......",
      "........kywwyyyyyyyyyyyk........",
      ".......kyywyyyyyyyyyyyyyk.......",
      ".......kywwyyyyyyyyyyyyyk.......",
      "......kyywyyyyyyyyyyyyyyyk......",
      "......kyywyyyyyyyyyyyyyyyk......",
      "......kyywyyyyyyyyyyyyyyyk......",
      "...ookyyyyyyyyyyyyyyyyyyyykoo...",
      ".....kyyyyyyyyyyyyyyyyyyyyk.....",
      "......kyyyyyyyYyYyYyyyyyyk......",
      "......kyyyyyyYyYyYyyyyyyyk......",
      "......kyyyyyyYyyyyYyyyyyyk......",
      ".......kyyyyyYyyyyYyyyyyk.......",
      ".......kyyyyyYyyyyYyyyyyk.......",
      "........kkkyyYyyyyYyykkk........",
      "..........kyyYyyyyYyyk..........",
      "...........kyYyyyyYyk...........",
      "...........kyyyyyyyyk...........",
      "..........kggggggggggk..........",
      "..........kGGGGGGGGGGk..........",
      "..........kggggggggggk..........",
      "..........kGGGGGGGGGGk..........",
      "..........kggggggggggk..........",
      "..........kGGGGGGGGGGk..........",
      "...........kkkkkkkkkk...........",
      "............kddddddk............",
      "..............kkkk..............",
      "................................",
  }};
  return bulb;
}

// clang-format on

}  // namespace kestrel
