#pragma once

#include "material/sample.h"

#include <QSqlQuery>
#include <QString>

#include <optional>

// The columns of a sample row, in the order sampleFromRow reads them, each
// prefixed with `alias` and a dot when one is given.
QString sampleColumns(const QString &alias = QString());
// The sample whose columns start at `first`; nothing when they are NULL
// (a run without a sample, through a LEFT JOIN).
std::optional<TSample> sampleFromRow(const QSqlQuery &query, int first);
