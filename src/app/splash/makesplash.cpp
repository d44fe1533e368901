// Paints the splash picture (a quill over an evening sky, 543 by 312 pixels) and writes it as a
// JPEG. Runs at build time; the picture is then compiled into the program as a resource.
#include <cmath>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

constexpr int kWidth = 543;
constexpr int kHeight = 312;
constexpr int kSamples = 3; // per axis, for smooth edges

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double smooth(double edge0, double edge1, double x) {
    double t = (x - edge0) / (edge1 - edge0);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return t * t * (3 - 2 * t);
}

Rgb sample(double x, double y) {
    // Sky: deep blue at the top, warm paper towards the bottom where the address is written.
    const Rgb night{14, 42, 71};
    const Rgb dusk{84, 112, 140};
    const Rgb paper{236, 227, 206};
    Rgb c = y < 150 ? mix(night, dusk, y / 150.0) : mix(dusk, paper, smooth(150, 235, y));

    // A pale moon with a soft halo.
    const double mx = x - 112, my = y - 82;
    const double md = std::sqrt(mx * mx + my * my);
    c = mix(c, Rgb{120, 150, 178}, 0.5 * (1 - smooth(30, 90, md)));
    c = mix(c, Rgb{246, 240, 222}, 1 - smooth(33, 35, md));

    // The quill: a shaft from its tip at the upper right down to the nib, with a vane on either
    // side whose barbs run diagonally.
    const double ax = 478, ay = 26, bx = 292, by = 214;
    const double dx = bx - ax, dy = by - ay;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double ux = dx / len, uy = dy / len;
    const double px = x - ax, py = y - ay;
    const double along = px * ux + py * uy;
    const double across = -px * uy + py * ux;
    const double t = along / len;
    if (t > 0 && t < 0.86) {
        const double width =
            42 * std::pow(std::sin(3.14159 * t / 0.86), 0.7) * (across < 0 ? 1.0 : 0.72);
        const double d = std::fabs(across);
        if (d < width) {
            const double barb = 0.5 + 0.5 * std::sin((along + d * 1.4) * 0.8);
            const Rgb vane = mix(Rgb{214, 222, 230}, Rgb{250, 250, 246}, barb);
            const double edge = 1 - smooth(width - 2.5, width, d);
            c = mix(c, vane, 0.92 * edge);
        }
    }
    if (t > 0 && t < 1.08) {
        const double shaft = 1.8 * (1 - t * 0.6);
        if (std::fabs(across) < shaft)
            c = mix(c, t < 1 ? Rgb{70, 62, 52} : Rgb{28, 28, 40}, 0.9);
    }
    // Ink where the nib touches the paper.
    const double ix = x - (bx + ux * len * 0.09), iy = y - (by + uy * len * 0.09);
    c = mix(c, Rgb{20, 30, 70}, 1 - smooth(3, 6, std::sqrt(ix * ix * 0.3 + iy * iy)));
    return c;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makesplash OUTPUT.jpg\n");
        return 2;
    }
    std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Rgb s = sample(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                    sum = {sum.r + s.r, sum.g + s.g, sum.b + s.b};
                }
            }
            const double n = kSamples * kSamples;
            unsigned char *p = &pixels[(size_t(y) * kWidth + x) * 3];
            p[0] = (unsigned char)(sum.r / n + 0.5);
            p[1] = (unsigned char)(sum.g / n + 0.5);
            p[2] = (unsigned char)(sum.b / n + 0.5);
        }
    }

    FILE *out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 88, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &pixels[size_t(cinfo.next_scanline) * kWidth * 3];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(out) == 0 ? 0 : 1;
}
