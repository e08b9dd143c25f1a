#pragma once

#include <QColor>

// Colours that tell the state of a device link on the display panels, and the
// fixed colours of the front panel replica.
namespace panelcolor {

constexpr QRgb LinkOk = qRgb(77, 213, 11);
constexpr QRgb LinkLost = qRgb(255, 0, 0);
constexpr QRgb KeyPending = qRgb(255, 255, 0);

constexpr QRgb FrontPanel = qRgb(230, 230, 230);
constexpr QRgb Keypad = qRgb(205, 205, 205);
constexpr QRgb DarkKey = qRgb(12, 12, 12);
constexpr QRgb LightKey = qRgb(251, 251, 251);

} // namespace panelcolor
