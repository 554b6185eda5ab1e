#include "TestPictures.h"

#include <jpeglib.h>
#include <unistd.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace tessaro::jpegtest {

Rgb Picture::at(int32_t x, int32_t y) const {
    const uint8_t* p = dib->row(y) + 3 * x;
    return {p[2], p[1], p[0]};
}

Picture makePicture(int32_t width, int32_t height,
                    const std::function<Rgb(int32_t, int32_t)>& colour, int16_t bitCount) {
    Picture pic;
    pic.dib = DibSection::create(width, height, bitCount);
    pic.dc = std::make_unique<DrawingContext>();
    pic.dc->select(pic.dib.get());
    const int bytes = bitCount / 8;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = pic.dib->row(y);
        for (int32_t x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            row[bytes * x] = c.b;
            row[bytes * x + 1] = c.g;
            row[bytes * x + 2] = c.r;
        }
    }
    return pic;
}

Picture uniformPicture(int32_t width, int32_t height, Rgb colour) {
    return makePicture(width, height, [colour](int32_t, int32_t) { return colour; });
}

Picture naturalPicture(int32_t width, int32_t height, uint32_t seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 2.0);
    const double w = width;
    const double h = height;
    return makePicture(width, height, [&](int32_t x, int32_t y) {
        const double u = x / w;
        const double v = y / h;
        // Sky-like gradient, a soft disc, gentle ripples and sensor noise.
        double r = 70 + 120 * v + 25 * std::sin(6.0 * u + 2.0 * v);
        double g = 110 + 60 * u + 20 * std::cos(5.0 * v - 3.0 * u);
        double b = 180 - 90 * v + 15 * std::sin(9.0 * u * v);
        const double dx = u - 0.6;
        const double dy = v - 0.4;
        const double disc = std::exp(-(dx * dx + dy * dy) * 30.0);
        r += 80 * disc;
        g += 40 * disc;
        b -= 60 * disc;
        const double texture = 6 * std::sin(x * 0.7) * std::cos(y * 0.5);
        const auto clampByte = [](double c) {
            return static_cast<uint8_t>(std::lround(std::min(255.0, std::max(0.0, c))));
        };
        return Rgb{clampByte(r + texture + noise(random)), clampByte(g + texture + noise(random)),
                   clampByte(b + texture + noise(random))};
    });
}

Picture noisePicture(int32_t width, int32_t height, uint32_t seed) {
    std::mt19937 random(seed);
    return makePicture(width, height, [&](int32_t, int32_t) {
        const uint32_t bits = random();
        return Rgb{static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                   static_cast<uint8_t>(bits >> 16)};
    });
}

namespace {

struct ErrorManager {
    jpeg_error_mgr base{};
    std::jmp_buf jump{};
    int warnings = 0;
    char message[JMSG_LENGTH_MAX] = {};
};

void onError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr info, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0) {
        ++manager->warnings;
        info->err->format_message(info, manager->message);
    }
}

}  // namespace

Decoded decode(const std::vector<uint8_t>& file) {
    Decoded out;
    jpeg_decompress_struct info{};
    ErrorManager manager;
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onError;
    manager.base.emit_message = onMessage;
    if (setjmp(manager.jump) != 0) {
        out.error = manager.message;
        jpeg_destroy_decompress(&info);
        return out;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    out.width = static_cast<int32_t>(info.image_width);
    out.height = static_cast<int32_t>(info.image_height);
    out.components = info.num_components;
    for (int c = 0; c < info.num_components; ++c) {
        out.h.push_back(info.comp_info[c].h_samp_factor);
        out.v.push_back(info.comp_info[c].v_samp_factor);
    }
    info.dct_method = JDCT_FLOAT;
    jpeg_start_decompress(&info);
    const size_t rowBytes = static_cast<size_t>(info.output_width) * info.output_components;
    out.pixels.resize(rowBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.pixels.data() + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    out.warnings = manager.warnings;
    return out;
}

double psnr(const Picture& source, const Decoded& decoded) {
    double sum = 0;
    int64_t n = 0;
    for (int32_t y = 0; y < source.height(); ++y) {
        for (int32_t x = 0; x < source.width(); ++x) {
            const Rgb c = source.at(x, y);
            if (decoded.components == 1) {
                const double grey = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
                const double d = grey - decoded.pixels[static_cast<size_t>(y) * source.width() + x];
                sum += d * d;
                ++n;
            } else {
                const uint8_t* p =
                    decoded.pixels.data() + (static_cast<size_t>(y) * source.width() + x) * 3;
                const double dr = c.r - p[0];
                const double dg = c.g - p[1];
                const double db = c.b - p[2];
                sum += dr * dr + dg * dg + db * db;
                n += 3;
            }
        }
    }
    const double mse = sum / static_cast<double>(n);
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string scratchFolder(const std::string& name) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("tessaro-jpeg-" + std::to_string(::getpid())) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

}  // namespace tessaro::jpegtest
