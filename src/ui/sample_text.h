#pragma once

#include "material/admittance.h"
#include "material/sample.h"

#include <QChar>
#include <QString>

// The Russian texts of the sample and of why a reading gives no derived values.
namespace sampletext {

// Why a sample was refused, as one sentence.
QString problem(const TSampleCheck &check);
// A typed text that is no number, for the field it was typed in.
QString notANumber(TSampleCheck::Field field, const QString &text);
// The sample in a few words for the status bar: its name and C0.
QString summary(const TSample &sample, QChar decimalSeparator);
// The whole sample, one line each: name, electrodes, thickness, C0, operator
// and notes, for the past runs' list.
QString details(const TSample &sample, QChar decimalSeparator);
// Why readings of a pair (main and secondary names) give no derived values.
QString pairProblem(TPairProblem problem, const QString &mainName, const QString &secName);

} // namespace sampletext
