#pragma once

#include <QFont>

// The window's typefaces are Windows bitmap and system fonts. Each is asked for
// by name first and falls back to a DejaVu face where it does not exist, so the
// character heights stay the same on every platform.
namespace uifont {

enum class Face { Tahoma, System, Terminal, SmallFonts, MsSansSerif };

QFont pixelFont(Face face, int pixelHeight, bool bold = false);

} // namespace uifont
