#pragma once
// The decimal separator the value texts are written with: the user's, as the platform knows it.

namespace lumra::editor {

// Windows: the user's locale setting, a point when there is none. Linux: the locale of LC_ALL,
// LC_NUMERIC or LANG, a point when it cannot be loaded or its separator is not one printable
// ASCII character.
char UserDecimalSeparator();

}  // namespace lumra::editor
