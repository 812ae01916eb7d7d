// Mesh file loading speed: a 100,000-triangle ".bin" read by the engine's
// loader, against a plain read of the same file into memory (the limit).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <iostream>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "resource_manager/binary_files.h"

namespace {

const int kGridX = 250, kGridY = 200;  // 250 x 200 quads = 100,000 triangles

// A skinned grid with every array filled.
Mesh BuildGrid() {
    Mesh mesh;
    mesh.name = "bench_grid";
    std::vector<float> positions, normals, uvs, weights, bones;
    for (int y = 0; y <= kGridY; ++y)
        for (int x = 0; x <= kGridX; ++x) {
            Vertex v(float(x), 0.0f, float(y));
            v.boneIndex[0] = (x + y) % 40;
            v.skinWeights[0] = 1.0f;
            v.numWeights = 1;
            mesh.AddVert(v);
            positions.insert(positions.end(), {v.v[0], v.v[1], v.v[2]});
            normals.insert(normals.end(), {0.0f, 1.0f, 0.0f});
            uvs.insert(uvs.end(), {x / float(kGridX), y / float(kGridY)});
            weights.insert(weights.end(), {1.0f, 0.0f, 0.0f, 0.0f});
            bones.insert(bones.end(), {float(v.boneIndex[0]), 0.0f, 0.0f, 0.0f});
        }
    std::vector<int> indices;
    for (int y = 0; y < kGridY; ++y)
        for (int x = 0; x < kGridX; ++x) {
            unsigned a = y * (kGridX + 1) + x, b = a + 1, c = a + kGridX + 1, d = c + 1;
            mesh.triangles.push_back(Triangle(a, c, b));  // appended directly: the
            mesh.triangles.push_back(Triangle(b, c, d));  // linear search is not measured
            indices.insert(indices.end(), {int(a), int(c), int(b), int(b), int(c), int(d)});
        }
    mesh.arrays.Assign(indices, positions, normals, uvs, weights, bones);
    return mesh;
}

// The grid's file, written once per run into a folder of its own that goes
// again when the program ends: a run leaves nothing in the temporary folder.
class GridFile {
public:
    GridFile()
        : folder(std::filesystem::temp_directory_path() / ("quell_bench_" + std::to_string(getpid()))),
          base((folder / "grid").string()) {
        std::filesystem::create_directories(folder);
        SaveMeshFile(base, BuildGrid());
    }
    ~GridFile() {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
    const std::string& Base() const { return base; }

private:
    std::filesystem::path folder;
    std::string base;
};

const std::string& MeshPath() {
    static const GridFile file;
    return file.Base();
}

int64_t FileBytes() { return int64_t(std::filesystem::file_size(MeshPath() + ".bin")); }

std::vector<char> ReadAll() {
    std::ifstream in(MeshPath() + ".bin", std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_PlainFileRead(benchmark::State& state) {
    const std::string file = MeshPath() + ".bin";  // written before the clock runs
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        in.seekg(0, std::ios::end);
        std::vector<char> bytes(size_t(in.tellg()));
        in.seekg(0);
        in.read(bytes.data(), std::streamsize(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

void BM_LoadMeshFile(benchmark::State& state) {
    // The loader logs two lines per load: keep them off the report.
    std::ofstream sink("/dev/null");
    std::streambuf* console = std::cout.rdbuf(sink.rdbuf());
    const std::string& base = MeshPath();
    for (auto _ : state) {
        Mesh mesh;
        if (!LoadMeshFile(base, mesh)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(mesh.triangles.data());
    }
    std::cout.rdbuf(console);
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

// The parse alone, from a block already in memory.
void BM_ParseMeshFromMemory(benchmark::State& state) {
    std::vector<char> bytes = ReadAll();
    for (auto _ : state) {
        ByteReader in(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        std::string name;
        Mesh mesh;
        if (!in.ReadString(name) || !ReadMesh(in, mesh)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(mesh.triangles.data());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(bytes.size()));
}

}  // namespace

BENCHMARK(BM_PlainFileRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMeshFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseMeshFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
