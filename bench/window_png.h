// The window's picture as a PNG, for the frame benchmarks that show a human
// what they measured ("--png=FILE"): the buffer just drawn and swapped, read
// back top row first and made opaque; and those benchmarks' main. The program links the content
// generator's PNG writer (cmake/Bench.cmake). Main thread, with the window's
// OpenGL context current.
#pragma once

#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <cstring>
#include <string>
#include <vector>

#include "png_writer.h"

namespace bench_support {

// False when the file could not be written (the writer says why).
inline bool WriteWindowPng(const std::string& path, int width, int height) {
    RgbaImage image(width, height);
    std::vector<unsigned char> rows(size_t(width) * height * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    const size_t rowBytes = size_t(width) * 4;
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.At(0, height - 1 - y), &rows[size_t(y) * rowBytes], rowBytes);
        for (int x = 0; x < width; ++x) image.At(x, height - 1 - y)[3] = 255;
    }
    return WritePng(path, image);
}

// Google Benchmark's main with one more option: "--png=FILE" is taken out
// of the arguments (the library refuses those it does not know) and FILE
// goes to `png` ("" without the option). False, having run nothing, when an
// argument is unknown.
inline bool RunBenchmarksTakingPng(int argc, char** argv, std::string& png) {
    png.clear();
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--png=", 6) == 0)
            png = argv[i] + 6;
        else
            argv[kept++] = argv[i];
    }
    benchmark::Initialize(&kept, argv);
    if (benchmark::ReportUnrecognizedArguments(kept, argv)) return false;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return true;
}

}  // namespace bench_support
