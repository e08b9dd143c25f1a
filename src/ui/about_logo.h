#pragma once

#include <QPixmap>

// The program's logo, drawn at run time: the name over a blue gradient with a
// capacitor and a sine wave, the instrument's two concerns.
QPixmap drawProgramLogo(QSize size);
