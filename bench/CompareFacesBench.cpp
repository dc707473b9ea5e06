// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/FaceMatchTech.h"
#include "engine/PixelCanvas.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

morvelin::PixelCanvas noisyFace(unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> level(0, 255);
    morvelin::PixelCanvas face(48, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            face.setPixel(x, y, morvelin::PixelCanvas::bgr(level(generator), level(generator), level(generator)));
        }
    }
    return face;
}

void compareFaces48(benchmark::State& state)
{
    const morvelin::PixelCanvas a = noisyFace(1);
    const morvelin::PixelCanvas b = noisyFace(2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(morvelin::FaceMatchTech().CompareFaces(a, b));
    }
}
BENCHMARK(compareFaces48);

} // namespace
