#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <limits>

// The decoded meter display: texts exactly as the display replica shows them,
// plus each measured value in its base unit.
struct TIMPacket {
    QString OffsetText;
    QString LevelText;
    QString FreqText;
    int32_t FreqHz = 0;
    QString LimitText;
    QString MainName;
    QString MainValue;
    QString MainUnit;
    QString MainBase;
    QString SecName;
    QString SecValue;
    QString SecUnit;
    QString SecBase;
};

// A parsed thermometer line.
struct TTempPacket {
    bool Valid = false;
    bool HeaderOk = false;
    bool ChecksumOk = false;
    bool StatusOk = false;
    QString TempText;
    // NaN when the line carried no temperature that could be read.
    double TempValue = std::numeric_limits<double>::quiet_NaN();
    QString ChecksumText;
    uint8_t ChecksumCalc = 0;
    QString ChecksumCalcText;
    QString LastField;
};

enum : uint8_t { kMeterRecord = 1, kTempRecord = 2 };

// One received meter frame, thermometer line or link-loss tick.
struct TEventRec {
    QDateTime Time;
    std::array<uint8_t, 60> RawData{};
    uint8_t Kind = 0;
    int32_t Index = 0;
    uint8_t SinceKey = 0;
    TIMPacket IM;
    TTempPacket Temp;
    // The temperature known when a meter record was stored; NaN while unknown.
    double Temperature = std::numeric_limits<double>::quiet_NaN();
    int32_t Frequency = 0;
    int32_t Status = 0;
};
