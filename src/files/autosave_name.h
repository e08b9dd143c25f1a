#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// The name a run's measurement file is saved under without asking:
// "<label> <yyyy-MM-dd HH-mm>.csv" in `folder`, the label being the sample's
// name or a description of the table. Characters no file system takes
// (\ / : * ? " < > | and control characters) become "_". When that name is
// taken, " (2)", " (3)" ... is added before the extension, so that no file is
// ever replaced. `exists` answers for a full path (tests pass their own).
QString autosaveFileName(const QString &folder, const QString &label, const QDateTime &time,
                         const std::function<bool(const QString &path)> &exists);

// "Таблица от 20 до 25 °C", the numbers as the table's texts give them.
QString tableLabel(const QString &tempInit, const QString &tempFinal);
