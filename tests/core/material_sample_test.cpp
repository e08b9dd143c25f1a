#include "material/sample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = 3.14159265358979323846;

using Field = TSampleCheck::Field;
using Fault = TSampleCheck::Fault;
using Shape = TSample::Geometry;

TSample sampleOf(Shape shape, double a, double b, double thickness) {
    TSample s;
    s.Shape = shape;
    switch (shape) {
    case Shape::Circle:
        s.DiameterMm = a;
        break;
    case Shape::Rectangle:
        s.SideAMm = a;
        s.SideBMm = b;
        break;
    case Shape::Area:
        s.AreaMm2 = a;
        break;
    case Shape::EmptyCell:
        s.EmptyCellPf = a;
        break;
    }
    s.ThicknessMm = thickness;
    return s;
}

TEST(MaterialSample, EachShapeGivesTheEmptyCellAndTheCellConstant) {
    const double eps0 = 8.8541878128E-12;
    const struct Case {
        Shape shape;
        double a, b, thickness;
        double areaM2, thicknessM; // of the electrodes; 0 for a C0 given directly
        double c0;
    } cases[] = {
        {Shape::Circle, 10, kNaN, 1, kPi * 25E-6, 1E-3, 0},
        {Shape::Rectangle, 20, 5, 0.5, 100E-6, 0.5E-3, 0},
        {Shape::Area, 78.5, kNaN, 2, 78.5E-6, 2E-3, 0},
        {Shape::EmptyCell, 12.5, kNaN, kNaN, 0, 0, 12.5E-12},
    };
    for (const Case &c : cases) {
        TSampleCell cell;
        const TSampleCheck check = checkSample(sampleOf(c.shape, c.a, c.b, c.thickness), &cell);
        ASSERT_TRUE(check.ok()) << int(c.shape);
        const double c0 = c.c0 ? c.c0 : eps0 * c.areaM2 / c.thicknessM;
        const double perArea = c.c0 ? eps0 / c.c0 : c.thicknessM / c.areaM2;
        EXPECT_NEAR(cell.EmptyCellF / c0, 1.0, 1E-15) << int(c.shape);
        EXPECT_NEAR(cell.ThicknessPerArea / perArea, 1.0, 1E-15) << int(c.shape);
        // sigma' = G d / A = G eps0 / C0 whichever way the cell was given
        EXPECT_NEAR(cell.ThicknessPerArea * cell.EmptyCellF / eps0, 1.0, 1E-15) << int(c.shape);
    }
}

TEST(MaterialSample, ValuesOtherThanPositiveAndFiniteAreRefusedWithTheirField) {
    const struct Case {
        TSample sample;
        Field field;
        Fault fault;
    } cases[] = {
        {sampleOf(Shape::Circle, kNaN, kNaN, 1), Field::Diameter, Fault::Missing},
        {sampleOf(Shape::Circle, 0, kNaN, 1), Field::Diameter, Fault::NotPositive},
        {sampleOf(Shape::Circle, -10, kNaN, 1), Field::Diameter, Fault::NotPositive},
        {sampleOf(Shape::Circle, kInf, kNaN, 1), Field::Diameter, Fault::NotFinite},
        {sampleOf(Shape::Circle, 10, kNaN, kNaN), Field::Thickness, Fault::Missing},
        {sampleOf(Shape::Circle, 10, kNaN, -0.0), Field::Thickness, Fault::NotPositive},
        {sampleOf(Shape::Circle, 10, kNaN, -kInf), Field::Thickness, Fault::NotFinite},
        // the first bad value in the order they are typed
        {sampleOf(Shape::Rectangle, 20, 0, 0), Field::SideB, Fault::NotPositive},
        {sampleOf(Shape::Rectangle, kNaN, kNaN, 1), Field::SideA, Fault::Missing},
        {sampleOf(Shape::Area, -1, kNaN, 1), Field::Area, Fault::NotPositive},
        {sampleOf(Shape::EmptyCell, 0, kNaN, kNaN), Field::EmptyCell, Fault::NotPositive},
        {sampleOf(Shape::EmptyCell, kNaN, kNaN, 1), Field::EmptyCell, Fault::Missing},
        // each value fine, the cell beyond a double
        {sampleOf(Shape::Area, 1E300, kNaN, 1E-300), Field::Thickness, Fault::OutOfRange},
        {sampleOf(Shape::Circle, 1E200, kNaN, 1), Field::Thickness, Fault::OutOfRange},
        {sampleOf(Shape::Area, 1E-300, kNaN, 1E300), Field::Thickness, Fault::OutOfRange},
        {sampleOf(Shape::EmptyCell, 1E-310, kNaN, kNaN), Field::EmptyCell, Fault::OutOfRange},
    };
    int i = 0;
    for (const Case &c : cases) {
        TSampleCell cell{-1, -1};
        const TSampleCheck check = checkSample(c.sample, &cell);
        EXPECT_EQ(check.field, c.field) << "case " << i;
        EXPECT_EQ(check.fault, c.fault) << "case " << i;
        EXPECT_FALSE(check.ok()) << "case " << i;
        EXPECT_EQ(cell.EmptyCellF, -1) << "a refused sample leaves the cell alone, case " << i;
        ++i;
    }
}

TEST(MaterialSample, ValuesTheShapeDoesNotUseAreIgnored) {
    TSample circle = sampleOf(Shape::Circle, 10, kNaN, 1);
    circle.SideAMm = -5;
    circle.AreaMm2 = kInf;
    circle.EmptyCellPf = 0;
    EXPECT_TRUE(checkSample(circle).ok());
    TSample empty = sampleOf(Shape::EmptyCell, 3, kNaN, kNaN); // no thickness needed
    EXPECT_TRUE(checkSample(empty).ok());
}

TEST(MaterialSample, EqualityTreatsValuesNotGivenAsEqual) {
    TSample a = sampleOf(Shape::Circle, 10, kNaN, 1);
    a.Name = QStringLiteral("PVDF-3");
    TSample b = a;
    EXPECT_EQ(a, b);
    b.Notes = QStringLiteral("annealed");
    EXPECT_NE(a, b);
    b = a;
    b.SideAMm = 2;
    EXPECT_NE(a, b);
}

} // namespace
