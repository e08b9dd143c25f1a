#include "material/sample.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerMm = 1E-3;
constexpr double kSquareMetresPerMm2 = 1E-6;
constexpr double kFaradsPerPf = 1E-12;

using Field = TSampleCheck::Field;
using Fault = TSampleCheck::Fault;

Fault faultOf(double value) {
    if (std::isnan(value))
        return Fault::Missing;
    if (!std::isfinite(value))
        return Fault::NotFinite;
    if (value <= 0.0)
        return Fault::NotPositive;
    return Fault::None;
}

bool usable(double value) {
    return std::isfinite(value) && value > 0.0;
}

// Same values, where NaN (not given) equals NaN.
bool sameValue(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

bool TSample::operator==(const TSample &o) const {
    return Name == o.Name && Shape == o.Shape && sameValue(DiameterMm, o.DiameterMm) &&
           sameValue(SideAMm, o.SideAMm) && sameValue(SideBMm, o.SideBMm) &&
           sameValue(AreaMm2, o.AreaMm2) && sameValue(ThicknessMm, o.ThicknessMm) &&
           sameValue(EmptyCellPf, o.EmptyCellPf) && Operator == o.Operator && Notes == o.Notes;
}

TSampleCheck checkSample(const TSample &sample, TSampleCell *cell) {
    struct Given {
        Field field;
        double value;
    };
    Given given[3];
    int count = 0;
    switch (sample.Shape) {
    case TSample::Geometry::Circle:
        given[count++] = {Field::Diameter, sample.DiameterMm};
        break;
    case TSample::Geometry::Rectangle:
        given[count++] = {Field::SideA, sample.SideAMm};
        given[count++] = {Field::SideB, sample.SideBMm};
        break;
    case TSample::Geometry::Area:
        given[count++] = {Field::Area, sample.AreaMm2};
        break;
    case TSample::Geometry::EmptyCell:
        given[count++] = {Field::EmptyCell, sample.EmptyCellPf};
        break;
    }
    if (sample.Shape != TSample::Geometry::EmptyCell)
        given[count++] = {Field::Thickness, sample.ThicknessMm};
    for (int i = 0; i < count; ++i) {
        const Fault fault = faultOf(given[i].value);
        if (fault != Fault::None)
            return {given[i].field, fault};
    }

    TSampleCell result;
    if (sample.Shape == TSample::Geometry::EmptyCell) {
        result.EmptyCellF = sample.EmptyCellPf * kFaradsPerPf;
        result.ThicknessPerArea = kVacuumPermittivity / result.EmptyCellF;
    } else {
        double area = 0.0;
        switch (sample.Shape) {
        case TSample::Geometry::Circle: {
            const double radius = 0.5 * sample.DiameterMm * kMetresPerMm;
            area = kPi * radius * radius;
            break;
        }
        case TSample::Geometry::Rectangle:
            area = (sample.SideAMm * kMetresPerMm) * (sample.SideBMm * kMetresPerMm);
            break;
        default:
            area = sample.AreaMm2 * kSquareMetresPerMm2;
            break;
        }
        const double thickness = sample.ThicknessMm * kMetresPerMm;
        result.EmptyCellF = kVacuumPermittivity * area / thickness;
        result.ThicknessPerArea = thickness / area;
    }
    const Field rangeField =
        sample.Shape == TSample::Geometry::EmptyCell ? Field::EmptyCell : Field::Thickness;
    if (!usable(result.EmptyCellF) || !usable(result.ThicknessPerArea))
        return {rangeField, Fault::OutOfRange};
    if (cell)
        *cell = result;
    return {};
}
