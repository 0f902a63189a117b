// What engine windows cost while an object idles or moves, on the virtual
// desktop: the poll tick with handlers that need it, an object with windows and
// no such handlers (it should cost no ticks at all), and the demo ball thrown
// for a minute of virtual time.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/headless_runner.h"
#include "engine/script_loader.h"
#include "engine/script_source.h"
#include "window/poll_tick.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void LoadSource(ixo::HeadlessRunner& runner, const std::string& source) {
  ixo::source::AssembleResult assembled = ixo::source::Assemble(source, "bench.ixs");
  ixo::LoadScriptLines(runner.engine(), assembled.lines);
}

// Starts an object with extra windows beside the main one.
void StartWithWindows(ixo::HeadlessRunner& runner, const std::string& source, int windows) {
  LoadSource(runner, source);
  runner.Start();
  for (int index = 1; index < windows; ++index) {
    ixo::CreateEngineWindow(runner.windows(), index);
    runner.desktop().Show(runner.windows().at(index)->native);
  }
  runner.desktop().RunFor(ixo::kPollIntervalMs);
}

// One poll tick for all windows, each with enter and exit handlers.
void BM_PollTickWithHandlers(benchmark::State& state) {
  std::ostringstream out, err;
  ixo::HeadlessRunner runner(out, err);
  StartWithWindows(runner, "event.mouse:enter()\nevent.end()\nevent.mouse:exit()\nevent.end()\n",
                   static_cast<int>(state.range(0)));
  for (auto _ : state) ixo::PollTick(runner.windows());
  state.SetLabel(std::to_string(state.range(0)) + " windows");
}
BENCHMARK(BM_PollTickWithHandlers)->Arg(1)->Arg(10);

// A minute of an object with windows and no handler for what the poll tick
// reports: "ticks" counts the timer ticks that ran in that minute.
void BM_IdleMinuteWithoutHandlers(benchmark::State& state) {
  uint64_t ticks = 0;
  for (auto _ : state) {
    std::ostringstream out, err;
    ixo::HeadlessRunner runner(out, err);
    StartWithWindows(runner, "event.load()\nevent.end()\n", static_cast<int>(state.range(0)));
    uint64_t before = runner.desktop().ticks_fired();
    runner.desktop().RunFor(60000);
    ticks = runner.desktop().ticks_fired() - before;
  }
  state.counters["ticks"] = static_cast<double>(ticks);
  state.SetLabel(std::to_string(state.range(0)) + " windows");
}
BENCHMARK(BM_IdleMinuteWithoutHandlers)->Arg(1)->Arg(10);

// The demo ball bouncing for a minute of virtual time (it saves where it came
// to rest: in a settings folder of the bench's own, not the user's).
void BM_BallMinute(benchmark::State& state) {
  const std::string settings = std::filesystem::temp_directory_path() / ("ixo_bench_" + std::to_string(getpid()));
  setenv("IXO_HOME", settings.c_str(), 1);
  const std::string source = ReadFile(IXO_EXAMPLES_SOURCE_DIR "/ball/identity.ixs");
  for (auto _ : state) {
    std::ostringstream out, err;
    ixo::HeadlessRunner runner(out, err);
    LoadSource(runner, source);
    runner.Start();
    runner.desktop().RunFor(60000);
  }
  std::filesystem::remove_all(settings);
}
BENCHMARK(BM_BallMinute)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
