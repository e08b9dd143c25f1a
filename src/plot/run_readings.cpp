#include "plot/run_readings.h"

#include "base/number_format.h"
#include "meter/meter_tables.h"
#include "plot/unit_scale.h"

#include <algorithm>
#include <limits>

namespace {

// The code of a parameter from the frame, or from its name when the
// reading was kept without a frame.
uint8_t parameterCode(const QByteArray &frame, int at, const QString &name, bool secondary) {
    if (frame.size() > at)
        return uint8_t(frame.at(at));
    for (uint8_t code = 0; code <= metertables::kCurrentCode; ++code)
        if (name == (secondary ? metertables::secondaryName(code) : metertables::mainName(code)))
            return code;
    return 0xFF;
}

double baseValue(const QString &text, QChar separator) {
    double value = 0.0;
    return numfmt::parseFloat(text, separator, &value) ? value
                                                       : std::numeric_limits<double>::quiet_NaN();
}

} // namespace

QByteArray TPlotReading::frame() const {
    return QByteArray(reinterpret_cast<const char *>(FrameBytes.data()), FrameSize);
}

TRunReadings::TRunReadings(QChar decimalSeparator) : m_separator(decimalSeparator) {}

void TRunReadings::clear() {
    m_readings.clear();
    m_newest.clear();
    m_cells.clear();
    m_filledByRow.clear();
    m_texts.clear();
    m_baseUnits.clear();
}

void TRunReadings::loadRun(const TJournalRun &run) {
    clear();
    int total = 0;
    for (const TJournalSegment &segment : run.Segments)
        total += int(segment.Readings.size());
    m_readings.reserve(total);
    m_newest.reserve(total);
    m_cells.reserve(total);
    for (const TJournalSegment &segment : run.Segments)
        for (const TJournalReading &reading : segment.Readings)
            append(reading, run.Table.DecimalSeparator);
}

TReadingUpdate TRunReadings::add(const TJournalReading &reading) {
    return append(reading, m_separator);
}

const TPlotReading *TRunReadings::latest(int32_t row, int32_t col) const {
    const auto it = m_cells.constFind(cellKey(row, col));
    return it == m_cells.cend() ? nullptr : &m_readings[*it];
}

int TRunReadings::filledInRow(int32_t row) const {
    return row >= 0 && row < m_filledByRow.size() ? m_filledByRow[row] : 0;
}

TReadingUpdate TRunReadings::append(const TJournalReading &r, QChar separator) {
    TPlotReading p;
    p.Time = r.Time;
    p.SetPoint = r.SetPoint;
    p.Temperature = r.Temperature;
    p.MainValue = baseValue(r.MainBase, separator);
    p.SecValue = baseValue(r.SecBase, separator);
    p.Row = r.Row;
    p.Col = r.Col;
    p.FrequencyHz = r.FrequencyHz;
    p.MainName = shared(r.MainName);
    p.MainUnit = sharedBaseUnit(r.MainUnit);
    p.SecName = shared(r.SecName);
    p.SecUnit = sharedBaseUnit(r.SecUnit);
    p.FrameSize = uint8_t(std::min<qsizetype>(r.Frame.size(), TPlotReading::kFrameBytes));
    std::copy_n(r.Frame.constData(), p.FrameSize, p.FrameBytes.begin());
    p.MainCode = parameterCode(r.Frame, metertables::kMainCodeByte, r.MainName, false);
    p.SecCode = parameterCode(r.Frame, metertables::kSecondaryCodeByte, r.SecName, true);

    TReadingUpdate update;
    update.Cell = cellKey(r.Row, r.Col);
    update.Current = int(m_readings.size());
    m_readings.append(std::move(p));
    m_newest.push_back(true);

    const auto it = m_cells.find(update.Cell);
    if (it != m_cells.end()) {
        update.Previous = *it;
        m_newest[update.Previous] = false;
        *it = update.Current;
        return update;
    }
    m_cells.insert(update.Cell, update.Current);
    if (r.Row >= 0) {
        if (m_filledByRow.size() <= r.Row)
            m_filledByRow.resize(r.Row + 1);
        ++m_filledByRow[r.Row];
    }
    return update;
}

QString TRunReadings::shared(const QString &text) {
    for (const QString &known : m_texts)
        if (known == text)
            return known;
    m_texts.append(text);
    return text;
}

QString TRunReadings::sharedBaseUnit(const QString &unitText) {
    for (const auto &[text, unit] : m_baseUnits)
        if (text == unitText)
            return unit;
    const QString unit = shared(plotunits::meterBaseUnit(unitText));
    m_baseUnits.append({unitText, unit});
    return unit;
}
