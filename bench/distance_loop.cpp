// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Cost per pair of the distance arithmetic, over pairs read from a file of
// "lat1 lon1 lat2 lon2" lines (bench/make_pairs.py's PREFIX.geod, also what
// `GeodSolve -i` reads), beside GeographicLib's inverse problem alone:
//   tolka_distance_loop PAIRS.geod
// Reading the file is not timed; each loop runs three times and the fastest
// run is printed, in ns per pair and pairs per second.
#include <GeographicLib/Geodesic.hpp>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "grid/distance.h"

namespace {

// Runs body over every pair three times; the fastest run's seconds.
double fastest(size_t count, const std::function<void(size_t)> &body)
{
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (size_t i = 0; i < count; ++i)
            body(i);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        best = std::min(best, seconds.count());
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PAIRS.geod\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1]);
    std::vector<DistancePoint> points;
    double lat, lon;
    while (in >> lat >> lon)
        points.push_back({{lat, lon}, {lat, lon}});
    const size_t count = points.size() / 2;
    if (count == 0) {
        std::fprintf(stderr, "%s: no pairs read\n", argv[1]);
        return 1;
    }

    // Lines go to one buffer, emptied every 64 KiB as a writer would.
    std::string out;
    size_t bytes = 0;
    double sink = 0; // keeps the bare loop's results alive
    const auto writeLine = [&](size_t i, bool iaru) {
        char line[kDistanceLineRoom];
        out.append(line, format_distance_line(
                             compute_distance(points[2 * i], points[2 * i + 1], iaru),
                             DistanceUnit::kilometre, line));
        out += '\n';
        if (out.size() >= 65536) {
            bytes += out.size();
            out.clear();
        }
    };
    const struct {
        const char *name;
        std::function<void(size_t)> body;
    } loops[] = {
        {"GeographicLib Inverse alone",
         [&](size_t i) {
             double s12, azi1, azi2;
             GeographicLib::Geodesic::WGS84().Inverse(points[2 * i].at.latitude,
                                                      points[2 * i].at.longitude,
                                                      points[2 * i + 1].at.latitude,
                                                      points[2 * i + 1].at.longitude, s12, azi1,
                                                      azi2);
             sink += s12 + azi1;
         }},
        {"geodesic_paths (short and long path)",
         [&](size_t i) {
             const GeodesicPaths p =
                 geodesic_paths(points[2 * i].at, points[2 * i + 1].at);
             sink += p.long_path.metres;
         }},
        {"compute_distance + format_distance_line", [&](size_t i) { writeLine(i, false); }},
        {"the same with --iaru", [&](size_t i) { writeLine(i, true); }},
    };
    std::printf("%zu pairs\n", count);
    for (const auto &loop : loops) {
        const double seconds = fastest(count, loop.body);
        std::printf("%-42s %8.1f ns/pair %12.0f pairs/s\n", loop.name, seconds * 1e9 / count,
                    count / seconds);
    }
    std::fflush(stdout);
    std::fprintf(stderr, "(%zu bytes written, checksum %g)\n", bytes + out.size(), sink);
    return 0;
}
