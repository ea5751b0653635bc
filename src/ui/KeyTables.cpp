// The key tables the system's screens and windows share.
#include "ui/Input.h"

const KeyCheck KeyTblCancel[] = {{plat::VK_RBUTTON, KEY_PUSH}, {plat::VK_ESCAPE, KEY_PUSH}, {0, 0}};
const KeyCheck KeyTblNext[] = {{plat::VK_RETURN, KEY_PUSH}, {plat::VK_LBUTTON, KEY_PUSH}, {0, 0}};
const KeyCheck KeyTblSkip[] = {{plat::VK_CONTROL, KEY_DOWN}, {0, 0}};
const KeyCheck KeyTblAny[] = {
    {plat::VK_LBUTTON, KEY_PUSH}, {plat::VK_RBUTTON, KEY_PUSH}, {plat::VK_CONTROL, KEY_DOWN}, {plat::VK_RETURN, KEY_PUSH}, {0, 0}};
const KeyCheck KeyTblMovie[] = {
    {plat::VK_LBUTTON, KEY_PUSH}, {plat::VK_RBUTTON, KEY_PUSH}, {plat::VK_ESCAPE, KEY_PUSH}, {plat::VK_CONTROL, KEY_DOWN}, {0, 0}};
