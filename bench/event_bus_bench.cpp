// Throughput of the event bus: N events published round-robin to 16 clients,
// then every client polls its share. Reports events per second (published and
// received once each). A second case carries the four script-typed parameters
// and reads them all back, the load of a busy frame. Before the benchmarks,
// the engine's own throughput run prints its report line and the billboard
// handle copy check runs.
#include <benchmark/benchmark.h>

#include <iostream>
#include <string>
#include <vector>

#include "event_manager.h"
#include "event_manager/self_checks.h"
#include "system.h"

namespace {

const int kClients = 16;

std::vector<std::string> SetUpClients() {
    Module<System>::Instance();
    EventManager& manager = *Module<EventManager>::Instance();
    manager.Kill();
    manager.Init();
    std::vector<std::string> names;
    for (int i = 0; i < kClients; ++i) {
        names.push_back("BenchClient" + std::to_string(i));
        manager.RegisterClient(names.back());
    }
    return names;
}

void PublishToAll(const std::vector<std::string>& names, int count, bool withParams) {
    EventManager& manager = *Module<EventManager>::Instance();
    for (int i = 0; i < count; ++i) {
        Event event("Bench", names[i % kClients], "TestEvent");
        if (withParams) {
            event.SetFloat("test1", static_cast<float>(i));
            event.SetVector("test2", Vector(1.0f, 2.0f, 3.0f));
            event.SetVector("test3", Vector(4.0f, 5.0f, 6.0f));
            event.SetQuaternion("test4", Quaternion(1.0f, Vector(0.0f, 0.0f, 0.0f)));
        }
        manager.PublishEvent(event);
    }
}

float ReadParams(const Event& event) {
    return event.GetFloat("test1") + event.GetVector("test2").x + event.GetVector("test3").y +
           event.GetQuaternion("test4").s;
}

void RunBus(benchmark::State& state, bool withParams) {
    const std::vector<std::string> names = SetUpClients();
    EventManager& manager = *Module<EventManager>::Instance();
    const int count = static_cast<int>(state.range(0));
    size_t received = 0;
    float sum = 0.0f;
    for (auto _ : state) {
        PublishToAll(names, count, withParams);
        for (const std::string& name : names) {
            std::deque<Event> batch = manager.PollEvents(name);
            received += batch.size();
            if (withParams)
                for (const Event& event : batch) sum += ReadParams(event);
        }
    }
    benchmark::DoNotOptimize(sum);
    if (received != static_cast<size_t>(count) * state.iterations())
        state.SkipWithError("events were lost");
    state.counters["events/s"] =
        benchmark::Counter(static_cast<double>(received), benchmark::Counter::kIsRate);
    manager.Kill();
}

void BM_PublishAndPoll(benchmark::State& state) { RunBus(state, false); }
void BM_PublishAndPollWithParams(benchmark::State& state) { RunBus(state, true); }

}  // namespace

BENCHMARK(BM_PublishAndPoll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PublishAndPollWithParams)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RunEventThroughput(std::cout);
    if (!CheckBillboardHandleCopies()) {
        std::cerr << "a copied game object lost its billboard texture handle\n";
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
