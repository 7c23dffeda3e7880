// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Cost of one call of the locator encoder and decoder, beside a plain
// straight-line loop of the same double arithmetic (no calls, no table, no
// range checks) as the yardstick.
//   build-bench/bench/tolka_bench [--benchmark_repetitions=5 ...]
// Inputs are a fixed pseudo-random set of positions cycled through, so
// nothing can be folded at compile time and the branches see real variety.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "qra.h"

namespace {

struct Position {
    double tab[6];
    int nLoDir;
    int nLaDir;
};

struct Locator {
    char sz[11];
};

constexpr size_t kInputCount = 1024; // a power of two: the index wraps with a mask

const std::vector<Position> &Positions()
{
    static const std::vector<Position> positions = [] {
        std::mt19937 random(20260101);
        std::uniform_int_distribution<int> loDegrees(0, 179), laDegrees(0, 89), minutes(0, 59),
            flag(0, 1);
        std::uniform_real_distribution<double> seconds(0.0, 60.0);
        std::vector<Position> v(kInputCount);
        for (Position &p : v) {
            p.tab[0] = loDegrees(random);
            p.tab[1] = minutes(random);
            p.tab[2] = seconds(random);
            p.tab[3] = laDegrees(random);
            p.tab[4] = minutes(random);
            p.tab[5] = seconds(random);
            p.nLoDir = flag(random);
            p.nLaDir = flag(random);
        }
        return v;
    }();
    return positions;
}

// The locators of the same positions, as the decoder would be given them.
const std::vector<Locator> &Locators()
{
    static const std::vector<Locator> locators = [] {
        std::vector<Locator> v(kInputCount);
        for (size_t i = 0; i < kInputCount; i++) {
            const Position &p = Positions()[i];
            KLOCXFromDMSLoLaTab(p.tab, v[i].sz, p.nLoDir, p.nLaDir);
        }
        return v;
    }();
    return locators;
}

// The encoder's arithmetic written out for one axis: same operations in the
// same order, but no table walk, no call per character and no range check.
inline void PlainEncodeAxis(double d, double m, double s, int nDir, double dHalf, double dRange,
                            char *sz)
{
    double x = d + m / 60 + s / 3600;
    x = x + 0.000001;
    x = nDir == 0 ? x + dHalf : dHalf - x;
    double r = x / dRange * 18;
    const int n1 = static_cast<int>(r);
    r = (r - n1) * 10;
    const int n2 = static_cast<int>(r);
    r = (r - n2) * 24;
    const int n3 = static_cast<int>(r);
    r = (r - n3) * 24;
    const int n4 = static_cast<int>(r);
    r = (r - n4) * 10;
    const int n5 = static_cast<int>(r);
    sz[0] = static_cast<char>('A' + n1);
    sz[2] = static_cast<char>('0' + n2);
    sz[4] = static_cast<char>('A' + n3);
    sz[6] = static_cast<char>('A' + n4);
    sz[8] = static_cast<char>('0' + n5);
}

inline void PlainEncode(const double *tab, char *sz, int nLoDir, int nLaDir)
{
    PlainEncodeAxis(tab[0], tab[1], tab[2], nLoDir, 180, 360, sz);
    PlainEncodeAxis(tab[3], tab[4], tab[5], nLaDir, 90, 180, sz + 1);
    sz[10] = '\0';
}

// The decoder's arithmetic written out: the same sums in the same order and
// the same split, with int truncation in place of trunc().
inline void PlainDecodeSplit(double v, double *dDMS)
{
    const double degrees = static_cast<int>(v);
    const double t = (v - degrees) * 60;
    const double minutes = static_cast<int>(t);
    dDMS[0] = degrees;
    dDMS[1] = minutes;
    dDMS[2] = (t - minutes) * 60;
}

inline void PlainDecode(const char *sz, double *dDMSLa, double *dDMSLo)
{
    const auto c = [sz](int i) { return static_cast<double>(static_cast<signed char>(sz[i])); };
    double lo = (c(0) - 65) * 20 + -180.0;
    lo = (c(2) - 48) * 2 + lo;
    lo = lo + (c(4) - 65) * 0.08333333333333333;
    lo = lo + (c(6) - 65) * 0.003472222222222222;
    lo = (c(8) - 48) * 0.0003472222222222222 + lo;
    double la = (c(1) - 65) * 10 + -90.0;
    la = (c(3) - 48) + la;
    la = la + (c(5) - 65) * 0.041666666666666664;
    la = la + (c(7) - 65) * 0.001736111111111111;
    la = (c(9) - 48) * 0.0001736111111111111 + la;
    PlainDecodeSplit(la, dDMSLa);
    PlainDecodeSplit(lo, dDMSLo);
}

// A yardstick that computes something else measures nothing: check it agrees
// with the real functions on every input before timing it.
bool PlainEncodeAgrees()
{
    for (const Position &p : Positions()) {
        char szReal[11], szPlain[11];
        KLOCXFromDMSLoLaTab(p.tab, szReal, p.nLoDir, p.nLaDir);
        PlainEncode(p.tab, szPlain, p.nLoDir, p.nLaDir);
        if (std::memcmp(szReal, szPlain, sizeof szReal) != 0)
            return false;
    }
    return true;
}

bool PlainDecodeAgrees()
{
    for (const Locator &l : Locators()) {
        double real[6], plain[6];
        KDMSLoLaFromLOCX(l.sz, real, real + 3, 0, 0);
        PlainDecode(l.sz, plain, plain + 3);
        if (std::memcmp(real, plain, sizeof real) != 0)
            return false;
    }
    return true;
}

void BM_Encode(benchmark::State &state)
{
    const Position *positions = Positions().data();
    char szLOCX[11];
    size_t i = 0;
    for (auto _ : state) {
        const Position &p = positions[i];
        benchmark::DoNotOptimize(KLOCXFromDMSLoLaTab(p.tab, szLOCX, p.nLoDir, p.nLaDir));
        benchmark::DoNotOptimize(szLOCX);
        benchmark::ClobberMemory();
        i = (i + 1) & (kInputCount - 1);
    }
}
BENCHMARK(BM_Encode);

void BM_EncodePlainLoop(benchmark::State &state)
{
    if (!PlainEncodeAgrees()) {
        state.SkipWithError("the plain loop does not compute what the encoder does");
        return;
    }
    const Position *positions = Positions().data();
    char szLOCX[11];
    size_t i = 0;
    for (auto _ : state) {
        const Position &p = positions[i];
        PlainEncode(p.tab, szLOCX, p.nLoDir, p.nLaDir);
        benchmark::DoNotOptimize(szLOCX);
        benchmark::ClobberMemory();
        i = (i + 1) & (kInputCount - 1);
    }
}
BENCHMARK(BM_EncodePlainLoop);

void BM_Decode(benchmark::State &state)
{
    const Locator *locators = Locators().data();
    double dDMSLa[3], dDMSLo[3];
    size_t i = 0;
    for (auto _ : state) {
        KDMSLoLaFromLOCX(locators[i].sz, dDMSLa, dDMSLo, 0, 0);
        benchmark::DoNotOptimize(dDMSLa);
        benchmark::DoNotOptimize(dDMSLo);
        benchmark::ClobberMemory();
        i = (i + 1) & (kInputCount - 1);
    }
}
BENCHMARK(BM_Decode);

void BM_DecodePlainLoop(benchmark::State &state)
{
    if (!PlainDecodeAgrees()) {
        state.SkipWithError("the plain loop does not compute what the decoder does");
        return;
    }
    const Locator *locators = Locators().data();
    double dDMSLa[3], dDMSLo[3];
    size_t i = 0;
    for (auto _ : state) {
        PlainDecode(locators[i].sz, dDMSLa, dDMSLo);
        benchmark::DoNotOptimize(dDMSLa);
        benchmark::DoNotOptimize(dDMSLo);
        benchmark::ClobberMemory();
        i = (i + 1) & (kInputCount - 1);
    }
}
BENCHMARK(BM_DecodePlainLoop);

} // namespace
