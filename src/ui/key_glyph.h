#pragma once

#include <QColor>

class QAbstractButton;

// Turns a key's caption into a painted face: the caption is cleared and drawn
// bold and centred on a face of the key's size less the margin. The face leaves
// its last column and row transparent, so the button's own edge shows there.
void PaintKeyGlyph(QAbstractButton *button, const QColor &faceColour, const QColor &textColour,
                   int margin);
