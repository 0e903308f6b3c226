// The writer of the problem pair alone, on the 2.56 million coefficients of the
// 4 x 40 default fit (61 MB): the coefficients' print forms made on one thread, the whole
// pair written as Save writes it (blocks formatted on every core while the block next in
// line is written), and the same bytes written straight from memory into a new file
// renamed over the old one, which is what the system allows at best (page cache or disk).
// write_fraction is that best time over the writer's, in the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/fit/compute_command.h"
#include "core/io/spec_file.h"
#include "engine/number_text.h"
#include "engine/script_environment.h"

namespace {

using Clock = std::chrono::steady_clock;

struct FittedPair {
  quon::EntryFields fields;
  quon::ProblemModel model;
  std::string path;
  FittedPair() {
    fields.Variables.resize(4);
    for (quon::VariableFields& v : fields.Variables) v.Terms = "40";
    model.LastVar = 3;
    model.AllocatePerVariableArrays();
    model.VarName = {"x", "y", "z", "t"};
    quon::ScriptEnvironment engine;
    quon::RunCompute(model, fields, engine);
    path = (std::filesystem::temp_directory_path() /
            ("quon_writer_bench_" + std::to_string(::getpid())))
               .string();
  }
  ~FittedPair() {
    std::filesystem::remove(path);
    std::filesystem::remove(path + ".str");
    std::filesystem::remove(path + ".raw");
  }
};

FittedPair& Pair() {
  static FittedPair pair;
  return pair;
}

void BytesCounters(benchmark::State& state, double bytes, double seconds) {
  state.counters["MB_per_s"] = bytes / seconds / 1e6;
}

void BM_FormatOneThread(benchmark::State& state) {
  const quon::CoefArray& coef = Pair().model.Coef;
  std::vector<char> buffer(coef.size() * (quon::PrintFormMaxChars + 3));
  std::size_t bytes = 0;
  for (auto _ : state) {
    char* out = buffer.data();
    for (std::size_t i = 0; i < coef.size(); ++i) {
      out = quon::PrintFormTo(out, coef.data()[i]);
      *out++ = ' ';
      *out++ = '\r';
      *out++ = '\n';
    }
    bytes = static_cast<std::size_t>(out - buffer.data());
    benchmark::DoNotOptimize(buffer.data());
  }
  state.counters["ns_per_value"] =
      benchmark::Counter(static_cast<double>(coef.size()) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_FormatOneThread)->Unit(benchmark::kMillisecond);

// The best of a few writes of `text` into a new file renamed over `path`.
double RawWriteSeconds(const std::string& text, const std::string& path) {
  double best = 1e30;
  for (int run = 0; run < 3; ++run) {
    const auto start = Clock::now();
    const std::string temporary = path + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (std::size_t done = 0; done < text.size();) {
      const ssize_t n =
          ::write(fd, text.data() + done, std::min<std::size_t>(1 << 20, text.size() - done));
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    std::rename(temporary.c_str(), path.c_str());
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

void BM_WritePairAgainstRawBytes(benchmark::State& state) {
  FittedPair& pair = Pair();
  const std::string text = quon::FormatSpecFile(pair.fields, pair.model).Main;
  quon::WriteSpecFile(pair.path, pair.fields, pair.model);  // the old pair, replaced below
  RawWriteSeconds(text, pair.path + ".raw");
  double writer = 1e30;
  for (auto _ : state) {
    const auto start = Clock::now();
    quon::WriteSpecFile(pair.path, pair.fields, pair.model);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    writer = std::min(writer, seconds);
    state.SetIterationTime(seconds);
  }
  const double raw = RawWriteSeconds(text, pair.path + ".raw");
  BytesCounters(state, static_cast<double>(text.size()), writer);
  state.counters["raw_MB_per_s"] = static_cast<double>(text.size()) / raw / 1e6;
  state.counters["write_fraction"] = raw / writer;
}
BENCHMARK(BM_WritePairAgainstRawBytes)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
