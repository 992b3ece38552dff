// The program-level figures `make bench` gathers into one table: each is a
// "name=value" line appended to the file named by ORVANE_BENCH_FIGURES (run
// on its own, a benchmark writes nothing). A benchmark function runs several
// times while Google Benchmark settles its iteration count; the last line of
// a name is the one the table shows. A figure that could not be measured is
// written with its reason instead of a number.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace orvane::bench {

inline void AppendFigureLine(const std::string& name, const std::string& value) {
    const char* path = std::getenv("ORVANE_BENCH_FIGURES");
    if (!path || !*path) return;
    std::ofstream out(path, std::ios::app);
    out << name << '=' << value << '\n';
}

inline void RecordFigure(const std::string& name, double value) {
    std::ostringstream text;
    text.precision(6);
    text << value;
    AppendFigureLine(name, text.str());
}

inline void RecordNotMeasured(const std::string& name, const std::string& reason) {
    AppendFigureLine(name, "not measured: " + reason);
}

} // namespace orvane::bench
