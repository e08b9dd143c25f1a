#pragma once

#include <QIcon>
#include <QList>
#include <QString>

// The program's icon, the pictures built into the program in every size the package gives the
// desktop's icon theme.
QIcon programIcon();

// An icon of PNG pictures, one for each of `sizes` (ascending), named by `pattern` with %1 for
// the size in pixels. A picture is read each time a size of it is asked for and is not kept:
// the window system is given every size once for each window, and a window icon held in all its
// sizes would keep a third of a megabyte for that. A size between the pictures' is the next
// larger picture scaled down, one beyond them the largest picture; a picture that cannot be
// read gives a null pixmap.
QIcon iconOfPictures(const QString &pattern, const QList<int> &sizes);
