#include "journal/journal_reading_scan.h"

#include "journal/journal_sql.h"

#include <QSqlQuery>

const char kSelectReadings[] =
    "SELECT start_no, grid_row, grid_col, csv_row, csv_col, recorded_at, set_point, "
    "temperature, freq_hz, frame, main_name, main_value, main_unit, main_base, sec_name, "
    "sec_value, sec_unit, sec_base, cell_text, seq "
    "FROM readings WHERE seq BETWEEN ?1 AND ?2 AND +run_id = ?3 ORDER BY seq";

bool scanReadingsThroughQt(const QSqlDatabase &db, const TReadingRange &range,
                           const TReadingSink &take, QSqlError *error) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QString::fromLatin1(kSelectReadings));
    query.addBindValue(range.First);
    query.addBindValue(range.Last);
    query.addBindValue(range.RunId);
    if (!query.exec()) {
        *error = query.lastError();
        return false;
    }
    TSqlTimeReader times;
    while (query.next()) {
        TJournalReading r;
        r.Row = query.value(1).toInt();
        r.Col = query.value(2).toInt();
        r.TempIndex = query.value(3).toInt();
        r.FreqIndex = query.value(4).toInt();
        r.Time = times.read(query.value(5));
        r.SetPoint = realFromSql(query.value(6));
        r.Temperature = realFromSql(query.value(7));
        r.FrequencyHz = query.value(8).toInt();
        r.Frame = query.value(9).toByteArray();
        r.MainName = query.value(10).toString();
        r.MainValue = query.value(11).toString();
        r.MainUnit = query.value(12).toString();
        r.MainBase = query.value(13).toString();
        r.SecName = query.value(14).toString();
        r.SecValue = query.value(15).toString();
        r.SecUnit = query.value(16).toString();
        r.SecBase = query.value(17).toString();
        r.CellText = query.value(18).toString();
        r.Seq = query.value(19).toLongLong();
        take(query.value(0).toInt(), std::move(r));
    }
    // Rows iterated to the end report a failure (a damaged page) through lastError.
    if (!query.lastError().isValid())
        return true;
    *error = query.lastError();
    return false;
}
