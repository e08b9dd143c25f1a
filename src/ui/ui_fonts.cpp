#include "ui/ui_fonts.h"

#include <QStringList>

namespace uifont {

// DejaVu Sans Condensed comes closest to the width of Tahoma and of the
// Windows system fonts; plain DejaVu Sans is the last resort.
static QStringList familiesFor(Face face) {
    switch (face) {
    case Face::Tahoma:
        return {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                QStringLiteral("DejaVu Sans")};
    case Face::System:
        return {QStringLiteral("System"), QStringLiteral("DejaVu Sans Condensed"),
                QStringLiteral("DejaVu Sans")};
    case Face::Terminal:
        return {QStringLiteral("Terminal"), QStringLiteral("DejaVu Sans Mono")};
    case Face::SmallFonts:
        return {QStringLiteral("Small Fonts"), QStringLiteral("DejaVu Sans Condensed"),
                QStringLiteral("DejaVu Sans")};
    case Face::MsSansSerif:
        return {QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans Condensed"),
                QStringLiteral("DejaVu Sans")};
    }
    return {QStringLiteral("DejaVu Sans")};
}

QFont pixelFont(Face face, int pixelHeight, bool bold) {
    QFont font;
    font.setFamilies(familiesFor(face));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace uifont
