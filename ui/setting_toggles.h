// The on/off settings of the tray menu: one row gives an item its id, its text and the setting
// that its check mark shows and its command switches.
#pragma once

struct SettingToggle {
    unsigned int id;
    const wchar_t* text;
    int* setting;
};

// The row of a menu command id, or nullptr when the command is not an on/off setting.
const SettingToggle* findSettingToggle(unsigned int id);
