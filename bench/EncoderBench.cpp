// Encodes the same synthetic photograph-like picture with our encoder and with libjpeg-turbo
// (quality 75, optimized Huffman tables, 2x2 luminance sampling, single thread) and prints
// megapixels per second for both, their ratio and the output sizes. The two encoders take
// turns, so that both see the same load on a shared machine, and are timed by this thread's
// processor time; the ratio printed is the median of the per-turn ratios, the speeds are the
// best turns.
//
//   bench_jpeg_encoder [--sse2] [repetitions [ours [width height]]]
//
// --sse2 keeps our encoder off its 256-bit paths; "ours" times only our encoder, at 4000x3000
// unless a size is given (for profiling).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "DrawingContext.h"
#include "InstructionSet.h"
#include "JpegEncoder.h"

namespace {

// Smooth gradients, a soft highlight, fine texture and sensor noise, in a bottom-up 24-bit
// bitmap.
std::unique_ptr<tessaro::DibSection> syntheticPhoto(int32_t width, int32_t height) {
    auto dib = tessaro::DibSection::create(width, height, 24);
    uint32_t state = 12345;
    const auto noise = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 24) % 7) - 3;
    };
    std::vector<double> sinX(static_cast<size_t>(width));
    for (int32_t x = 0; x < width; ++x) {
        sinX[static_cast<size_t>(x)] = std::sin(x * 0.7);
    }
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = dib->row(y);
        const double v = static_cast<double>(y) / height;
        const double cosY = std::cos(y * 0.5);
        for (int32_t x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width;
            const double dx = u - 0.6;
            const double dy = v - 0.4;
            const double disc = std::exp(-(dx * dx + dy * dy) * 30.0);
            const double texture = 6 * sinX[static_cast<size_t>(x)] * cosY;
            const double r = 70 + 120 * v + 25 * std::sin(6.0 * u + 2.0 * v) + 80 * disc;
            const double g = 110 + 60 * u + 20 * std::cos(5.0 * v - 3.0 * u) + 40 * disc;
            const double b = 180 - 90 * v + 15 * std::sin(9.0 * u * v) - 60 * disc;
            const auto byte = [&](double c) {
                return static_cast<uint8_t>(
                    std::clamp(static_cast<int>(std::lround(c + texture)) + noise(), 0, 255));
            };
            row[3 * x] = byte(b);
            row[3 * x + 1] = byte(g);
            row[3 * x + 2] = byte(r);
        }
    }
    return dib;
}

std::vector<uint8_t> encodeOurs(const tessaro::DrawingContext& dc, int32_t w, int32_t h) {
    tessaro::JpegEncoder encoder;
    encoder.SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
    encoder.setQuality(75);
    encoder.SampleHDC(dc, w, h, 0, 0);
    return encoder.EncodeStream();
}

std::vector<uint8_t> encodeTurbo(const tessaro::DibSection& dib) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(dib.width());
    info.image_height = static_cast<JDIMENSION>(dib.height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 75, TRUE);
    info.optimize_coding = TRUE;
    info.comp_info[0].h_samp_factor = 2;
    info.comp_info[0].v_samp_factor = 2;
    info.comp_info[1].h_samp_factor = 1;
    info.comp_info[1].v_samp_factor = 1;
    info.comp_info[2].h_samp_factor = 1;
    info.comp_info[2].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(dib.row(static_cast<int32_t>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

// Processor time of this thread, so that time spent waiting for a shared core is not counted.
double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double secondsOf(const std::function<size_t()>& run, size_t& bytes) {
    const double start = threadSeconds();
    bytes = run();
    return threadSeconds() - start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void measure(int32_t width, int32_t height, int repetitions) {
    const auto dib = syntheticPhoto(width, height);
    tessaro::DrawingContext dc;
    dc.select(dib.get());
    const double megapixels = static_cast<double>(width) * height / 1e6;
    size_t ourBytes = 0;
    size_t turboBytes = 0;
    double ours = 1e30;
    double turbo = 1e30;
    std::vector<double> ratios;
    for (int i = 0; i < repetitions; ++i) {
        const double a = secondsOf([&] { return encodeOurs(dc, width, height).size(); }, ourBytes);
        const double b = secondsOf([&] { return encodeTurbo(*dib).size(); }, turboBytes);
        ours = std::min(ours, a);
        turbo = std::min(turbo, b);
        ratios.push_back(b / a);
    }
    std::printf("%dx%d (%.2f MP)\n", width, height, megapixels);
    std::printf("  tessaro       %8.1f MP/s  %9zu bytes  (%.1f ms)\n", megapixels / ours, ourBytes,
                ours * 1e3);
    std::printf("  libjpeg-turbo %8.1f MP/s  %9zu bytes  (%.1f ms)\n", megapixels / turbo,
                turboBytes, turbo * 1e3);
    std::printf(
        "  speed ratio tessaro / libjpeg-turbo: %.2f (median of %d turns; best times %.2f)\n",
        median(ratios), repetitions, turbo / ours);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--sse2") == 0) {
        tessaro::jpeg::allowWideInstructions(false);
        --argc;
        ++argv;
    }
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (argc > 2) {
        // Profiling aid: only our encoder.
        const int32_t width = argc > 4 ? std::max(1, std::atoi(argv[3])) : 4000;
        const int32_t height = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3000;
        const auto dib = syntheticPhoto(width, height);
        tessaro::DrawingContext dc;
        dc.select(dib.get());
        size_t bytes = 0;
        double best = 1e30;
        for (int i = 0; i < repetitions; ++i) {
            best = std::min(best,
                            secondsOf([&] { return encodeOurs(dc, width, height).size(); }, bytes));
        }
        std::printf("%.1f ms\n", 1e3 * best);
        return 0;
    }
    measure(1024, 768, repetitions * 4);
    measure(4000, 3000, repetitions);
    return 0;
}
