#pragma once

namespace lumra::lv2ui {

// The decimal separator of the user's locale (LC_ALL, LC_NUMERIC, LANG) for the value texts; a
// point when the locale cannot be loaded or its separator is not one ASCII character.
char UserDecimalSeparator();

}  // namespace lumra::lv2ui
