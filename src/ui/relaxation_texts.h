#pragma once

#include "plot/activation_fit.h"

#include <QChar>
#include <QString>
#include <QStringList>

// The words and numbers of the relaxation analysis.
namespace relaxationtext {

// `digits` significant digits in the general format; "—" for no number.
QString significant(double value, int digits, QChar separator);
// The note of each kind of peak, by the kind's number; none for a clean peak.
QStringList kindNotes();
// "Аррениус: E = 0,52 ± 0,01 эВ, …", or why there is no fit.
QString arrhenius(const TArrheniusFit &fit, QChar separator);
// "Фогель–Фулчер: E = …", or why there is no fit.
QString vogelFulcher(const TVogelFulcherFit &fit, QChar separator);
// The quantities' names before the run has a reading that names them.
QString mainName();
QString secondaryName();
// The columns of the peak table as it is copied.
QStringList peakTableTitles();

} // namespace relaxationtext
