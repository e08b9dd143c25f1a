// Thinning a line to the pixel columns it is drawn on keeps each column's
// lowest and highest point, the ends of the line and the points' order.
#include "plot/column_thinning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>

namespace {

struct Shape {
    const char *name;
    QList<QPointF> points;
    double xLo, xHi;
    int columns;
};

QList<QPointF> line(int n, const std::function<QPointF(int)> &at) {
    QList<QPointF> points;
    for (int i = 0; i < n; ++i)
        points.append(at(i));
    return points;
}

int columnOf(double x, const Shape &s) {
    const double c = std::floor((x - s.xLo) / (s.xHi - s.xLo) * s.columns);
    return int(std::clamp(c, 0.0, double(s.columns - 1)));
}

// Every kept point is a point of the line, taken in the line's order.
bool isOrderedSubset(const QList<QPointF> &kept, const QList<QPointF> &all) {
    qsizetype at = 0;
    for (const QPointF &p : kept) {
        while (at < all.size() && all[at] != p)
            ++at;
        if (at == all.size())
            return false;
        ++at;
    }
    return true;
}

std::vector<Shape> shapes() {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 1);
    std::uniform_real_distribution<double> anywhere(-5, 105);
    std::vector<Shape> out;
    // A drifting temperature: x mostly rising, noisy values.
    out.push_back({"noisy ramp",
                   line(10000,
                        [&](int i) {
                            return QPointF(i * 0.01 + 0.002 * noise(random),
                                           std::sin(i * 0.001) + 0.1 * noise(random));
                        }),
                   0, 100, 700});
    // One reading far above the others, in the middle of a flat run.
    out.push_back({"lone spike",
                   line(10000, [](int i) { return QPointF(i * 0.01, i == 5003 ? 1e6 : 1.0); }), 0,
                   100, 700});
    out.push_back({"lone dip at the end",
                   line(10000, [](int i) { return QPointF(i * 0.01, i == 9999 ? -1e6 : 1.0); }), 0,
                   100, 300});
    // The temperature going up and down again: columns are visited several times.
    out.push_back(
        {"back and forth",
         line(8000, [&](int i) { return QPointF(50 + 45 * std::sin(i * 0.01), noise(random)); }), 5,
         95, 200});
    out.push_back({"points outside the range",
                   line(5000, [&](int) { return QPointF(anywhere(random), noise(random)); }), 0,
                   100, 50});
    return out;
}

TEST(ColumnThinning, EveryColumnKeepsItsLowestAndHighestPointAndTheLineItsEndsAndOrder) {
    for (const Shape &s : shapes()) {
        SCOPED_TRACE(s.name);
        const QList<QPointF> kept = thinToColumns(s.points, s.xLo, s.xHi, s.columns);
        EXPECT_LT(kept.size(), s.points.size());
        ASSERT_FALSE(kept.isEmpty());
        EXPECT_EQ(kept.first(), s.points.first());
        EXPECT_EQ(kept.last(), s.points.last());
        EXPECT_TRUE(isOrderedSubset(kept, s.points));

        std::map<int, std::pair<double, double>> all, shown;
        auto widen = [&](std::map<int, std::pair<double, double>> &m, const QPointF &p) {
            auto [it, added] = m.try_emplace(columnOf(p.x(), s), p.y(), p.y());
            it->second.first = std::min(it->second.first, p.y());
            it->second.second = std::max(it->second.second, p.y());
        };
        for (const QPointF &p : s.points)
            widen(all, p);
        for (const QPointF &p : kept)
            widen(shown, p);
        EXPECT_EQ(shown, all) << "a column's lowest or highest point is hidden";
    }
}

TEST(ColumnThinning, ALineThatRunsAcrossOnceKeepsAtMostFourPointsAColumn) {
    const QList<QPointF> ramp = line(100000, [](int i) { return QPointF(i, i % 17); });
    EXPECT_LE(thinToColumns(ramp, 0, 99999, 800).size(), 4 * 800);
}

TEST(ColumnThinning, FewPointsOrNoRangeLeaveNothingOutThatMatters) {
    const QList<QPointF> few = line(40, [](int i) { return QPointF(i, i * i); });
    EXPECT_EQ(thinToColumns(few, 0, 39, 10), few) << "no more than four a column";
    EXPECT_EQ(thinToColumns(few, 0, 39, 0), few);

    // All at one x (or a range that is not one): a single column.
    const QList<QPointF> upright =
        line(1000, [](int i) { return QPointF(3, (i * 37 + 500) % 1000); });
    for (const auto &[lo, hi] : {std::pair{3.0, 3.0}, std::pair{0.0, double(NAN)}}) {
        const QList<QPointF> kept = thinToColumns(upright, lo, hi, 100);
        ASSERT_EQ(kept.size(), 4);
        EXPECT_EQ(kept.first(), upright.first());
        EXPECT_EQ(kept.last(), upright.last());
        EXPECT_TRUE(kept.contains(QPointF(3, 0)) && kept.contains(QPointF(3, 999)));
    }
}

} // namespace

TEST(ColumnThinning, ALineFollowedPointByPointIsThinnedAsAWholeLineIs) {
    for (const Shape &s : shapes()) {
        SCOPED_TRACE(s.name);
        // Past the size where thinning starts, and through it.
        const qsizetype n = std::min<qsizetype>(s.points.size(), 4 * s.columns + 1500);
        QList<QPointF> grown;
        QList<QPointF> kept;
        for (qsizetype i = 0; i < n; ++i) {
            grown.append(s.points[i]);
            const QList<QPointF> before = kept;
            const qsizetype unchanged = thinAppendedPoint(kept, grown, s.xLo, s.xHi, s.columns);
            const QList<QPointF> whole = thinToColumns(grown, s.xLo, s.xHi, s.columns);
            ASSERT_EQ(kept, whole) << "after point " << i;
            ASSERT_LE(unchanged, std::min(before.size(), kept.size()));
            for (qsizetype k = 0; k < unchanged; ++k)
                ASSERT_EQ(kept[k], before[k]) << "said unchanged: " << k << " after point " << i;
        }
    }
}
