#pragma once

#include <QString>

#include <limits>

// The sample under the electrodes, as the operator describes it. Lengths are
// in millimetres, the area in square millimetres and the empty-cell
// capacitance in picofarads, as typed; a value not given is NaN.
struct TSample {
    // How the cell's size is given: by the electrodes and the thickness, or
    // by the capacitance C0 of the same cell with vacuum between the electrodes.
    enum class Geometry { Circle, Rectangle, Area, EmptyCell };

    QString Name;
    Geometry Shape = Geometry::Circle;
    double DiameterMm = std::numeric_limits<double>::quiet_NaN();
    double SideAMm = std::numeric_limits<double>::quiet_NaN();
    double SideBMm = std::numeric_limits<double>::quiet_NaN();
    double AreaMm2 = std::numeric_limits<double>::quiet_NaN();
    double ThicknessMm = std::numeric_limits<double>::quiet_NaN();
    double EmptyCellPf = std::numeric_limits<double>::quiet_NaN();
    QString Operator;
    QString Notes;

    bool operator==(const TSample &other) const;
    bool operator!=(const TSample &other) const { return !(*this == other); }
};

// The two numbers every derived quantity needs, in SI units.
struct TSampleCell {
    double EmptyCellF = 0.0;       // C0 = eps0 * A / d
    double ThicknessPerArea = 0.0; // d / A in 1/m, equal to eps0 / C0
};

// Why a sample was refused: the value at fault and what is wrong with it.
struct TSampleCheck {
    enum class Field { None, Diameter, SideA, SideB, Area, Thickness, EmptyCell };
    enum class Fault {
        None,
        Missing,     // not given (NaN)
        NotFinite,   // infinite
        NotPositive, // zero or negative
        // Each value is fine but C0 leaves the range of a double (an area of
        // 1E300 mm² over 1E-300 mm): Field is the thickness, or EmptyCell.
        OutOfRange,
    };
    Field field = Field::None;
    Fault fault = Fault::None;

    bool ok() const { return fault == Fault::None; }
};

// The electric constant in F/m.
inline constexpr double kVacuumPermittivity = 8.8541878128E-12;

// Checks the values the sample's shape uses (others are ignored) in the
// order they are typed and, when they are all positive and finite, gives
// the cell they describe.
TSampleCheck checkSample(const TSample &sample, TSampleCell *cell = nullptr);
