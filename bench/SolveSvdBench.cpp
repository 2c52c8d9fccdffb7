// The least-squares solver (decomposition, cut-off of small singular values, back substitution)
// against Eigen's divide-and-conquer SVD on the same dense systems of 1.5 n equations in n
// unknowns. The time shown is the solver's; counters give Eigen's time, the ratio, and for both
// the residual |Ax - b| and the relative residual of the normal equations |A^T (Ax - b)|.
#include <benchmark/benchmark.h>

#include <Eigen/Dense>
#include <Eigen/SVD>

#include <chrono>
#include <cmath>
#include <random>

#include "model/FitMtrx.h"
#include "model/SolveSvd.h"

namespace {

struct SSystem {
    Eigen::MatrixXd a;
    Eigen::VectorXd b;
};

SSystem MakeSystem(int unknowns) {
    const int equations = unknowns + unknowns / 2;
    std::mt19937 random(static_cast<unsigned>(unknowns));
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    SSystem system{Eigen::MatrixXd(equations, unknowns), Eigen::VectorXd(equations)};
    for (int r = 0; r < equations; ++r) {
        for (int c = 0; c < unknowns; ++c) {
            system.a(r, c) = value(random);
        }
        system.b(r) = value(random);
    }
    return system;
}

// The solution as the position adjustment takes it: the decomposition without U, then
// x = V diag(1/w) U^T b.
Eigen::VectorXd SolveWithFitSolverProjected(const SSystem& system) {
    const int m = static_cast<int>(system.a.rows());
    const int n = static_cast<int>(system.a.cols());
    CFitMtrx a(m, n);
    CFitVctr b(m);
    for (int r = 0; r < m; ++r) {
        for (int c = 0; c < n; ++c) {
            a[r][c] = system.a(r, c);
        }
        b[r] = system.b(r);
    }
    CFitVctr w;
    CFitMtrx v;
    CFitVctr ub;
    if (SolveSvdProjected(a, b, w, v, ub) != SvdStatus::Converged) {
        return Eigen::VectorXd::Constant(n, NAN);
    }
    const double limit = w.Max() * 1e-8;
    Eigen::VectorXd scaled(n);
    for (int j = 0; j < n; ++j) {
        scaled(j) = w[j] < limit ? 0.0 : ub[j] / w[j];
    }
    Eigen::VectorXd result(n);
    for (int j = 0; j < n; ++j) {
        double sum = 0.0;
        for (int k = 0; k < n; ++k) {
            sum += v[j][k] * scaled(k);
        }
        result(j) = sum;
    }
    return result;
}

Eigen::VectorXd SolveWithFitSolver(const SSystem& system) {
    const int m = static_cast<int>(system.a.rows());
    const int n = static_cast<int>(system.a.cols());
    CFitMtrx u(m, n);
    CFitVctr b(m);
    for (int r = 0; r < m; ++r) {
        for (int c = 0; c < n; ++c) {
            u[r][c] = system.a(r, c);
        }
        b[r] = system.b(r);
    }
    CFitVctr w;
    CFitMtrx v;
    if (SolveSvd(u, w, v) != SvdStatus::Converged) {
        return Eigen::VectorXd::Constant(n, NAN);
    }
    const double limit = w.Max() * 1e-8;
    for (int j = 0; j < n; ++j) {
        if (w[j] < limit) {
            w[j] = 0.0;
        }
    }
    CFitVctr x;
    SvdBackSubst(u, w, v, b, x);
    Eigen::VectorXd result(n);
    for (int j = 0; j < n; ++j) {
        result(j) = x[j];
    }
    return result;
}

Eigen::VectorXd SolveWithEigen(const SSystem& system) {
    Eigen::BDCSVD<Eigen::MatrixXd> svd(system.a, Eigen::ComputeThinU | Eigen::ComputeThinV);
    return svd.solve(system.b);
}

double Residual(const SSystem& system, const Eigen::VectorXd& x) {
    return (system.a * x - system.b).norm();
}

double NormalResidual(const SSystem& system, const Eigen::VectorXd& x) {
    const double normA = system.a.norm();
    return (system.a.transpose() * (system.a * x - system.b)).norm() /
           (normA * (normA * x.norm() + system.b.norm()));
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <Eigen::VectorXd (*Solve)(const SSystem&)>
void SolveAgainstEigen(benchmark::State& state) {
    const SSystem system = MakeSystem(static_cast<int>(state.range(0)));
    double ownSeconds = 0.0;
    double eigenSeconds = 0.0;
    Eigen::VectorXd own;
    Eigen::VectorXd eigen;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        own = Solve(system);
        double elapsed = Seconds(start);
        state.SetIterationTime(elapsed);
        ownSeconds += elapsed;

        start = std::chrono::steady_clock::now();
        eigen = SolveWithEigen(system);
        eigenSeconds += Seconds(start);
        benchmark::DoNotOptimize(own.data());
        benchmark::DoNotOptimize(eigen.data());
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["eigen_ms"] = eigenSeconds / iterations * 1e3;
    state.counters["ratio"] = ownSeconds / eigenSeconds;
    state.counters["resid"] = Residual(system, own);
    state.counters["eigen_resid"] = Residual(system, eigen);
    state.counters["normal"] = NormalResidual(system, own);
    state.counters["eigen_normal"] = NormalResidual(system, eigen);
}

// SolveSvd with U, then SvdBackSubst.
void BM_SolveSvdAgainstEigen(benchmark::State& state) {
    SolveAgainstEigen<SolveWithFitSolver>(state);
}

// SolveSvdProjected (no U), as the position adjustment solves.
void BM_SolveSvdProjectedAgainstEigen(benchmark::State& state) {
    SolveAgainstEigen<SolveWithFitSolverProjected>(state);
}

} // namespace

BENCHMARK(BM_SolveSvdAgainstEigen)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Arg(10)
    ->Arg(20)
    ->Arg(50)
    ->Arg(100)
    ->Arg(200)
    ->Arg(500);
BENCHMARK(BM_SolveSvdAgainstEigen)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Arg(1000)
    ->Arg(2000);
BENCHMARK(BM_SolveSvdProjectedAgainstEigen)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Arg(100)
    ->Arg(500);
BENCHMARK(BM_SolveSvdProjectedAgainstEigen)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Arg(1000)
    ->Arg(2000);
