#include "kestrel/artwork.h"

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
