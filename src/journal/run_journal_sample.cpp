#include "journal/journal_sample_sql.h"
#include "journal/journal_sql.h"
#include "journal/run_journal.h"

#include <QDateTime>
#include <QStringList>

#include <iterator>

namespace {

const char *const kColumns[] = {"name",      "shape",    "diameter_mm",  "side_a_mm",
                                "side_b_mm", "area_mm2", "thickness_mm", "empty_cell_pf",
                                "operator",  "notes"};

struct ShapeName {
    TSample::Geometry shape;
    const char *name;
};
const ShapeName kShapes[] = {{TSample::Geometry::Circle, "circle"},
                             {TSample::Geometry::Rectangle, "rectangle"},
                             {TSample::Geometry::Area, "area"},
                             {TSample::Geometry::EmptyCell, "empty_cell"}};

QString shapeName(TSample::Geometry shape) {
    for (const ShapeName &s : kShapes)
        if (s.shape == shape)
            return QLatin1String(s.name);
    return QString();
}

} // namespace

QString sampleColumns(const QString &alias) {
    const QString prefix = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    QStringList columns;
    for (const char *column : kColumns)
        columns << prefix + QLatin1String(column);
    return columns.join(QStringLiteral(", "));
}

std::optional<TSample> sampleFromRow(const QSqlQuery &query, int first) {
    const QVariant shape = query.value(first + 1);
    if (shape.isNull())
        return std::nullopt;
    TSample s;
    s.Name = query.value(first).toString();
    // A shape this version does not know keeps the default; its values stay.
    for (const ShapeName &known : kShapes)
        if (shape.toString() == QLatin1String(known.name))
            s.Shape = known.shape;
    s.DiameterMm = realFromSql(query.value(first + 2));
    s.SideAMm = realFromSql(query.value(first + 3));
    s.SideBMm = realFromSql(query.value(first + 4));
    s.AreaMm2 = realFromSql(query.value(first + 5));
    s.ThicknessMm = realFromSql(query.value(first + 6));
    s.EmptyCellPf = realFromSql(query.value(first + 7));
    s.Operator = query.value(first + 8).toString();
    s.Notes = query.value(first + 9).toString();
    return s;
}

TJournalOutcome TRunJournal::setSample(qint64 runId, const std::optional<TSample> &sample) {
    return transact(true, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        if (!sample) {
            query.prepare(QStringLiteral("DELETE FROM samples WHERE run_id = ?"));
            query.addBindValue(runId);
        } else {
            query.prepare(QStringLiteral("INSERT OR REPLACE INTO samples (run_id, %1, changed_at) "
                                         "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                              .arg(sampleColumns()));
            const TSample &s = *sample;
            for (const QVariant &value :
                 {QVariant(runId), QVariant(s.Name), QVariant(shapeName(s.Shape)),
                  sqlReal(s.DiameterMm), sqlReal(s.SideAMm), sqlReal(s.SideBMm), sqlReal(s.AreaMm2),
                  sqlReal(s.ThicknessMm), sqlReal(s.EmptyCellPf), QVariant(s.Operator),
                  QVariant(s.Notes), sqlTime(QDateTime::currentDateTime())})
                query.addBindValue(value);
        }
        if (query.exec())
            return true;
        *error = query.lastError();
        return false;
    });
}

TJournalOutcome TRunJournal::latestSample(std::optional<TSample> *sample) {
    sample->reset();
    return transact(false, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT %1 FROM samples s ORDER BY s.run_id DESC LIMIT 1")
                            .arg(sampleColumns(QStringLiteral("s"))))) {
            *error = query.lastError();
            return false;
        }
        if (query.next())
            *sample = sampleFromRow(query, 0);
        if (!query.lastError().isValid())
            return true;
        *error = query.lastError();
        return false;
    });
}
