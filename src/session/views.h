// The window's keys: one row a key, with everything a front end must know of it (its
// name, the words of the page's button, its line in --help, whether it only changes the
// picture and whether the page keeps it in its address). The window, the page, the
// command line's --keys and --help all read this table.
#pragma once

#include "model/system.h"

namespace fv {

struct WindowKey {
    unsigned char key;
    const char* name;  // as the key is shown ("s"; a catalog text for the space bar)
    const char* words; // what it does, as the page's button says it (a catalog text);
                       // nullptr: the page has no button for it
    const char* help;  // what it does, as --help says it
    bool view;         // a view key: changes only the picture, and --keys presses it
    bool kept;         // the page keeps it in its address, as a scale of the picture
};

constexpr int windowKeyCount = 20;
inline constexpr WindowKey windowKeys[windowKeyCount] = {
    {'s', "s", catalogText("描画継続"), "advance the motion by one frame (0.1 s)", true, false},
    {' ', catalogText("スペース"), catalogText("再生・停止"),
     "start or stop playback, a frame every 100 ms", false, false},
    {'t', "t", catalogText("時間軸縮小"), "compress the strip chart's time axis", true, true},
    {'T', "T", catalogText("時間軸拡大"), "stretch the strip chart's time axis", true, true},
    {'y', "y", catalogText("縦倍率縮小"), "shrink every vertical scale", true, true},
    {'Y', "Y", catalogText("縦倍率拡大"), "enlarge every vertical scale", true, true},
    {'z', "z", catalogText("周波数軸縮小"), "compress the frequency axis", true, true},
    {'Z', "Z", catalogText("周波数軸拡大"), "stretch the frequency axis", true, true},
    {'a', "a", catalogText("縦倍率を合わせる"),
     "fit the vertical scales to the entered damping ratio's curves", true, true},
    {'e', "e", catalogText("厳密解の点"), "show or hide the exact steady amplitudes", true, false},
    {'g', "g", catalogText("領域図"), "swap the frequency chart for the regime map", true, false},
    {'c', "c", catalogText("見やすい図・元の図"),
     "switch between the classic picture and the clear one (numbered axes, labelled curves)", true,
     false},
    {'o', "o", catalogText("位相平面"),
     "show or hide the phase plane (y against dy/dt) in the right half", true, false},
    {'w', "w", catalogText("1 周期のエネルギー"),
     "show or hide the work of a cycle of the exact steady motion in the right half", true, false},
    {'p', "p", catalogText("図を PNG で保存"), "save the picture as a PNG file", false, false},
    {'m', "m", nullptr, "back to the console from group (1)", false, false},
    {'f', "f", nullptr, "back to the console from group (2)", false, false},
    {'r', "r", nullptr, "back to the console from group (3)", false, false},
    {'j', "j", nullptr, "back to the console from group (4)", false, false},
    {27, "ESC", nullptr, "end the program", false, false}};

// The row of key, or nullptr where the window has none.
const WindowKey* findWindowKey(unsigned char key);

// The view keys, in the table's order, separated by spaces: "s t T y Y z Z a e g".
const char* viewKeyList();

} // namespace fv
