#include "plot/activation_fit.h"

#include <Eigen/Dense>
#include <unsupported/Eigen/LevenbergMarquardt>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

struct Line {
    double slope = 0.0;
    double intercept = 0.0;
    double ssr = 0.0; // sum of squared residuals
    double sst = 0.0; // sum of squares about the mean of y
    double sxx = 0.0;
};

// Least squares y = intercept + slope x; sxx = 0 leaves the line undefined.
Line leastSquaresLine(const QVector<double> &x, const QVector<double> &y) {
    const int n = int(x.size());
    double mx = 0.0, my = 0.0;
    for (int i = 0; i < n; ++i) {
        mx += x[i];
        my += y[i];
    }
    mx /= n;
    my /= n;
    Line line;
    double sxy = 0.0;
    for (int i = 0; i < n; ++i) {
        line.sxx += (x[i] - mx) * (x[i] - mx);
        sxy += (x[i] - mx) * (y[i] - my);
        line.sst += (y[i] - my) * (y[i] - my);
    }
    if (line.sxx == 0.0)
        return line;
    line.slope = sxy / line.sxx;
    line.intercept = my - line.slope * mx;
    for (int i = 0; i < n; ++i) {
        const double r = y[i] - (line.intercept + line.slope * x[i]);
        line.ssr += r * r;
    }
    return line;
}

// Residuals of ln f for the parameters (ln f0, B = E / k in K, T_VF in K).
struct VogelFulcherResiduals : Eigen::DenseFunctor<double> {
    VogelFulcherResiduals(const QVector<double> &t, const QVector<double> &lnF)
        : Eigen::DenseFunctor<double>(3, int(t.size())), t(t), lnF(lnF) {}

    int operator()(const InputType &p, ValueType &r) const {
        for (int i = 0; i < t.size(); ++i)
            r[i] = lnF[i] - (p[0] - p[1] / (t[i] - p[2]));
        return 0;
    }
    int df(const InputType &p, JacobianType &j) const {
        for (int i = 0; i < t.size(); ++i) {
            const double d = t[i] - p[2];
            j(i, 0) = -1.0;
            j(i, 1) = 1.0 / d;
            j(i, 2) = p[1] / (d * d);
        }
        return 0;
    }

    const QVector<double> &t;
    const QVector<double> &lnF;
};

} // namespace

QVector<TPeakPoint> usablePeaks(const QVector<TRelaxationPeak> &peaks) {
    QVector<TPeakPoint> points;
    for (const TRelaxationPeak &peak : peaks) {
        const double kelvin = peak.TemperatureC + kZeroCelsiusK;
        if (peak.usable() && peak.FrequencyHz > 0.0 && std::isfinite(peak.FrequencyHz) &&
            kelvin > 0.0)
            points.append({peak.FrequencyHz, kelvin});
    }
    return points;
}

TArrheniusFit fitArrhenius(const QVector<TPeakPoint> &peaks) {
    TArrheniusFit fit;
    fit.PeakCount = int(peaks.size());
    if (peaks.size() < 2)
        return fit;
    QVector<double> x, y;
    for (const TPeakPoint &p : peaks) {
        x.append(1000.0 / p.TemperatureK);
        y.append(std::log(p.FrequencyHz));
    }
    const Line line = leastSquaresLine(x, y);
    if (line.sxx == 0.0) {
        fit.problem = TArrheniusFit::Problem::SameTemperature;
        return fit;
    }
    fit.problem = TArrheniusFit::Problem::None;
    fit.Slope = line.slope;
    fit.Intercept = line.intercept;
    fit.ActivationEv = -line.slope * 1000.0 * kBoltzmannEvPerK;
    fit.Tau0S = 1.0 / (kTwoPi * std::exp(line.intercept));
    if (line.sst > 0.0)
        fit.RSquared = 1.0 - line.ssr / line.sst;
    if (peaks.size() > 2)
        fit.ActivationErrorEv =
            1000.0 * kBoltzmannEvPerK * std::sqrt(line.ssr / double(peaks.size() - 2) / line.sxx);
    return fit;
}

double TVogelFulcherFit::lnFrequencyAt(double temperatureK) const {
    if (!(temperatureK > FreezingK))
        return std::numeric_limits<double>::quiet_NaN();
    return std::log(F0Hz) - ActivationEv / (kBoltzmannEvPerK * (temperatureK - FreezingK));
}

TVogelFulcherFit fitVogelFulcher(const QVector<TPeakPoint> &peaks) {
    TVogelFulcherFit fit;
    fit.PeakCount = int(peaks.size());
    if (peaks.size() < 4)
        return fit;
    QVector<double> t, lnF;
    for (const TPeakPoint &p : peaks) {
        t.append(p.TemperatureK);
        lnF.append(std::log(p.FrequencyHz));
    }
    const double coldest = *std::min_element(t.cbegin(), t.cend());

    // For a fixed T_VF the model is a line in 1 / (T - T_VF): the best of a
    // sweep of T_VF from 0 K up to the coldest peak starts the least squares
    // near the minimum, whatever the material.
    constexpr int kSteps = 200;
    Eigen::VectorXd p(3);
    double bestSsr = std::numeric_limits<double>::infinity();
    QVector<double> u(t.size());
    for (int step = 0; step < kSteps; ++step) {
        const double freezing = coldest * step / kSteps;
        for (int i = 0; i < t.size(); ++i)
            u[i] = 1.0 / (t[i] - freezing);
        const Line line = leastSquaresLine(u, lnF);
        if (line.sxx > 0.0 && line.ssr < bestSsr) {
            bestSsr = line.ssr;
            p << line.intercept, -line.slope, freezing;
        }
    }
    if (!std::isfinite(bestSsr)) {
        fit.problem = TVogelFulcherFit::Problem::NotConverged;
        return fit;
    }

    VogelFulcherResiduals residuals(t, lnF);
    Eigen::LevenbergMarquardt<VogelFulcherResiduals> solver(residuals);
    solver.setMaxfev(2000);
    const Eigen::LevenbergMarquardtSpace::Status status = solver.minimize(p);
    const bool failed = status == Eigen::LevenbergMarquardtSpace::ImproperInputParameters ||
                        status == Eigen::LevenbergMarquardtSpace::TooManyFunctionEvaluation ||
                        !p.allFinite();

    fit.F0Hz = std::exp(p[0]);
    fit.ActivationEv = p[1] * kBoltzmannEvPerK;
    fit.FreezingK = p[2];
    if (std::isfinite(fit.FreezingK) && fit.FreezingK >= coldest)
        fit.problem = TVogelFulcherFit::Problem::FreezingAbovePeak;
    else if (failed)
        fit.problem = TVogelFulcherFit::Problem::NotConverged;
    else if (fit.FreezingK < 0.0)
        fit.problem = TVogelFulcherFit::Problem::FreezingBelowZero;
    else if (!(fit.ActivationEv > 0.0))
        fit.problem = TVogelFulcherFit::Problem::NoActivation;
    else
        fit.problem = TVogelFulcherFit::Problem::None;

    Eigen::VectorXd r(t.size());
    residuals(p, r);
    double sum = 0.0;
    for (int i = 0; i < t.size(); ++i) {
        fit.Residuals.append(r[i]);
        sum += r[i] * r[i];
    }
    fit.ResidualRms = std::sqrt(sum / double(t.size()));

    Eigen::MatrixXd jacobian(t.size(), 3);
    residuals.df(p, jacobian);
    const Eigen::Matrix3d normal = jacobian.transpose() * jacobian;
    Eigen::FullPivLU<Eigen::Matrix3d> lu(normal);
    if (lu.isInvertible()) {
        const Eigen::Matrix3d covariance = lu.inverse() * (sum / double(t.size() - 3));
        fit.ActivationErrorEv = std::sqrt(covariance(1, 1)) * kBoltzmannEvPerK;
        fit.FreezingErrorK = std::sqrt(covariance(2, 2));
    }
    return fit;
}
