// Side-by-side timings of the numeric core against the C library, and of the
// three calculator rows on the in-memory boxes. After the usual table a
// summary prints the ratios and whether each target is met:
//   parse_single no slower than strtof, format_number at most half the time
//   of snprintf("%.13g"), every row under 5 us per click.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/bench_inputs.h"
#include "calc/fp_environment.h"
#include "calc/handlers.h"
#include "calc/numeric.h"
#include "ui/memory_boxes.h"

namespace kalvoro::bench {
namespace {

using enum EditBox;

// Each iteration runs over a whole list of inputs (all one million, or the
// ones of one kind); the "per_input" counter is the CPU time per input.
void per_input_counter(benchmark::State& state, std::size_t count) {
  state.counters["per_input"] =
      benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void sweep_parse_single(benchmark::State& state, const ParseInputs& inputs) {
  const auto& texts = inputs.gbk.texts();
  for (auto _ : state) {
    for (const char* text : texts) benchmark::DoNotOptimize(parse_single(text));
  }
  per_input_counter(state, texts.size());
}

void sweep_strtof(benchmark::State& state, const ParseInputs& inputs) {
  const auto& texts = inputs.ascii.texts();
  for (auto _ : state) {
    for (const char* text : texts) benchmark::DoNotOptimize(std::strtof(text, nullptr));
  }
  per_input_counter(state, texts.size());
}

// format_number hands out a new Text, given back at once: the allocation is
// part of its cost, as in the rows.
void sweep_format_number(benchmark::State& state, const std::vector<double>& values) {
  for (auto _ : state) {
    for (double value : values) {
      Text text = format_number(value);
      benchmark::DoNotOptimize(text[0]);
      release_text(text);
    }
  }
  per_input_counter(state, values.size());
}

void sweep_snprintf(benchmark::State& state, const std::vector<double>& values) {
  char text[32];
  for (auto _ : state) {
    for (double value : values) {
      std::snprintf(text, sizeof text, "%.13g", value);
      benchmark::DoNotOptimize(text[0]);
    }
  }
  per_input_counter(state, values.size());
}

ParseKind parse_kind(const benchmark::State& state) {
  return static_cast<ParseKind>(state.range(0));
}
FormatKind format_kind(const benchmark::State& state) {
  return static_cast<FormatKind>(state.range(0));
}

void BM_parse_single(benchmark::State& state) { sweep_parse_single(state, parse_inputs()); }
void BM_strtof(benchmark::State& state) { sweep_strtof(state, parse_inputs()); }
void BM_format_number(benchmark::State& state) { sweep_format_number(state, format_inputs()); }
void BM_snprintf(benchmark::State& state) { sweep_snprintf(state, format_inputs()); }
void BM_parse_single_kind(benchmark::State& state) {
  sweep_parse_single(state, parse_inputs(parse_kind(state)));
}
void BM_strtof_kind(benchmark::State& state) {
  sweep_strtof(state, parse_inputs(parse_kind(state)));
}
void BM_format_number_kind(benchmark::State& state) {
  sweep_format_number(state, format_inputs(format_kind(state)));
}
void BM_snprintf_kind(benchmark::State& state) {
  sweep_snprintf(state, format_inputs(format_kind(state)));
}

// A row's click on boxes filled as a user would fill them. 16 sets of typical
// inputs, taken in turn, so that no branch predictor learns one case.
struct RowInputs {
  std::vector<EditBox> boxes;
  std::vector<std::vector<std::string>> sets;
};

std::vector<ui::MemoryBoxes> filled(const RowInputs& row) {
  std::vector<ui::MemoryBoxes> stores(row.sets.size());
  for (std::size_t i = 0; i < row.sets.size(); ++i)
    for (std::size_t b = 0; b < row.boxes.size(); ++b) stores[i].type(row.boxes[b], row.sets[i][b]);
  return stores;
}

const std::vector<std::vector<std::string>> kRangeSets = {{"20", "30", "0.7", "100"},
                                                          {"15", "15", "0.6", "50"},
                                                          {"18.5", "28", "0.55", "120"},
                                                          {"22", "36", "0.95", "150"},
                                                          {"12", "24", "0.47", "80"},
                                                          {"35", "70", "1.3", "200"},
                                                          {"\xA3\xB2\xA3\xB0", "30", "0.7", "100"},
                                                          {"8", "16", "0.33", "60"},
                                                          {"25.4", "50.8", "0.8", "90"},
                                                          {"19", "31", "0.74", "110"},
                                                          {"16", "27", "0.65", "95"},
                                                          {"21.3", "32.1", "0.9", "135"},
                                                          {"10", "20", "0.5", "70"},
                                                          {"45", "90", "1.0", "300"},
                                                          {"17", "25", "0.61", "84"},
                                                          {"28", "42", "1.1", "175"}};

void run_row(benchmark::State& state, void (*click)(), const RowInputs& row) {
  std::vector<ui::MemoryBoxes> stores = filled(row);
  std::size_t next = 0;
  for (auto _ : state) {
    const ui::ScopedBoxStore attached(stores[next]);
    click();
    next = (next + 1) % stores.size();
  }
}

void BM_calc_throw_distance(benchmark::State& state) {
  run_row(state, &calc_throw_distance, {{编辑框1, 编辑框5, 编辑框3, 编辑框2}, kRangeSets});
}

void BM_calc_image_size(benchmark::State& state) {
  // Focal lengths, chip, throw distance in metres (the fourth value / 30).
  std::vector<std::vector<std::string>> sets;
  for (const auto& set : kRangeSets) {
    sets.push_back({set[0], set[1], set[2], std::to_string(std::atof(set[3].c_str()) / 30.0)});
  }
  run_row(state, &calc_image_size, {{编辑框10, 编辑框6, 编辑框8, 编辑框11}, sets});
}

void BM_calc_screen_sides(benchmark::State& state) {
  static const char* const kRatios[][2] = {{"16", "9"}, {"4", "3"}, {"16", "10"}, {"2.35", "1"}};
  std::vector<std::vector<std::string>> sets;
  for (std::size_t i = 0; i < kRangeSets.size(); ++i)
    sets.push_back({kRangeSets[i][3], kRatios[i % 4][0], kRatios[i % 4][1]});
  run_row(state, &calc_screen_sides, {{编辑框9, 编辑框15, 编辑框14}, sets});
}

BENCHMARK(BM_parse_single)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_strtof)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_format_number)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_snprintf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_parse_single_kind)->DenseRange(0, kParseKinds - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_strtof_kind)->DenseRange(0, kParseKinds - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_format_number_kind)->DenseRange(0, kFormatKinds - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_snprintf_kind)->DenseRange(0, kFormatKinds - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_calc_throw_distance)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_calc_image_size)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_calc_screen_sides)->Unit(benchmark::kNanosecond);

// The console table, then the ratios. Times are CPU time per input (sweeps)
// or per click (rows), in nanoseconds; with repetitions, the medians. CPU
// time rather than wall time: the machine may be shared.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.error_occurred || !(median || run.run_type == Run::RT_Iteration)) continue;
      const std::string name = run.run_name.str();
      if (!median && medians_.count(name)) continue;
      if (median) medians_.insert(name);
      const auto per_input = run.counters.find("per_input");
      ns_[name] =
          per_input != run.counters.end()
              ? per_input->second.value * 1e9
              : run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-44s %10s %10s %7s %s\n", "comparison (CPU ns per input)", "ours", "libc",
                "ratio", "target");
    ratio("parse_single vs strtof", "BM_parse_single", "BM_strtof", 1.0);
    for (int k = 0; k < kParseKinds; ++k)
      ratio(indented(kParseKindNames[k]), with_kind("BM_parse_single_kind", k),
            with_kind("BM_strtof_kind", k), 0);
    ratio("format_number vs snprintf(\"%.13g\")", "BM_format_number", "BM_snprintf", 0.5);
    for (int k = 0; k < kFormatKinds; ++k)
      ratio(indented(kFormatKindNames[k]), with_kind("BM_format_number_kind", k),
            with_kind("BM_snprintf_kind", k), 0);
    std::printf("\n%-44s %10s %s\n", "row (CPU us per click)", "us", "target");
    click("calc_throw_distance", "BM_calc_throw_distance");
    click("calc_image_size", "BM_calc_image_size");
    click("calc_screen_sides", "BM_calc_screen_sides");
  }

 private:
  // Built by appending: GCC 12 warns falsely (-Wrestrict) on "x" + string.
  static std::string with_kind(const char* name, int kind) {
    std::string out = name;
    out += '/';
    out += std::to_string(kind);
    return out;
  }
  static std::string indented(const char* label) {
    std::string out = "  ";
    out += label;
    return out;
  }

  // `target` 0: a breakdown row, shown without a verdict.
  void ratio(const std::string& what, const std::string& ours, const std::string& other,
             double target) {
    if (!ns_.count(ours) || !ns_.count(other)) return;
    const double r = ns_[ours] / ns_[other];
    std::printf("%-44s %10.1f %10.1f %7.2f", what.c_str(), ns_[ours], ns_[other], r);
    if (target > 0) std::printf(" <= %.2f %s", target, r <= target ? "met" : "MISSED");
    std::printf("\n");
  }
  void click(const char* what, const std::string& name) {
    if (!ns_.count(name)) return;
    const double us = ns_[name] / 1000.0;
    std::printf("%-44s %10.3f < 5 %s\n", what, us, us < 5.0 ? "met" : "MISSED");
  }

  std::map<std::string, double> ns_;
  std::set<std::string> medians_;
};

}  // namespace
}  // namespace kalvoro::bench

int main(int argc, char** argv) {
  kalvoro::set_evaluation_environment();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // Make the inputs before any timing starts.
  kalvoro::bench::parse_inputs();
  kalvoro::bench::format_inputs();
  kalvoro::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
