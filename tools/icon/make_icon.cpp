// Draws the program's icon and writes it as a Windows .ico file: a front
// view of a projector (silver body, large blue lens, orange indicator
// light) in five square 32-bit images, 128, 96, 64, 48 and 32 pixels.
//
// Usage: make_icon <output.ico>
//
// The artwork is a set of shapes in unit coordinates (0..1, y downwards)
// rendered at each size with 8 x 8 samples per pixel, so every image is
// drawn from the same description rather than scaled from another. Plain
// standard C++: the output is the same byte for byte on every platform.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

namespace {

struct Colour {
  double red, green, blue, alpha;  // 0..1, not premultiplied
};

// Premultiplied pixel used while composing.
struct Pixel {
  double red = 0, green = 0, blue = 0, alpha = 0;
  // Porter-Duff "source over": `colour` covering `coverage` of the pixel.
  void over(Colour colour, double coverage) {
    const double a = colour.alpha * coverage;
    red = colour.red * a + red * (1 - a);
    green = colour.green * a + green * (1 - a);
    blue = colour.blue * a + blue * (1 - a);
    alpha = a + alpha * (1 - a);
  }
};

Colour rgb(int r, int g, int b, double alpha = 1.0) {
  return {r / 255.0, g / 255.0, b / 255.0, alpha};
}

Colour mix(Colour a, Colour b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
          a.blue + (b.blue - a.blue) * t, a.alpha + (b.alpha - a.alpha) * t};
}

// Signed distances (negative inside) of the shapes.
double circle(double x, double y, double cx, double cy, double r) {
  return std::hypot(x - cx, y - cy) - r;
}
double rounded_box(double x, double y, double left, double top, double right, double bottom,
                   double radius) {
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
  const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
  return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
         radius;
}

// The artwork. `x`, `y` in unit coordinates; `line` is the width of an
// outline in unit coordinates (at least one pixel at every size).
void paint_sample(Pixel& pixel, double x, double y, double line) {
  // Feet under the body.
  const Colour foot = rgb(52, 56, 70);
  if (rounded_box(x, y, 0.17, 0.74, 0.30, 0.88, 0.03) < 0) pixel.over(foot, 1);
  if (rounded_box(x, y, 0.70, 0.74, 0.83, 0.88, 0.03) < 0) pixel.over(foot, 1);

  // Body: rounded box, silver gradient from top to bottom, dark outline.
  const double body = rounded_box(x, y, 0.04, 0.30, 0.96, 0.82, 0.11);
  if (body < 0) {
    const bool edge = body > -line;
    const Colour face = mix(rgb(236, 238, 246), rgb(132, 138, 160), (y - 0.30) / 0.52);
    pixel.over(edge ? rgb(46, 50, 66) : face, 1);
  }
  // A lighter band along the top of the body.
  if (body < -line && y < 0.30 + 2.2 * line) pixel.over(rgb(255, 255, 255, 0.55), 1);

  // Indicator light, the orange of the window's arrows.
  const double light = circle(x, y, 0.80, 0.44, 0.055);
  if (light < 0) pixel.over(light > -line * 0.8 ? rgb(120, 50, 0) : rgb(255, 128, 0), 1);

  // Vent slots right of the lens.
  for (int i = 0; i < 3; ++i) {
    const double top = 0.56 + i * 0.075;
    if (rounded_box(x, y, 0.68, top, 0.90, top + std::max(line, 0.03), 0.01) < 0) {
      pixel.over(rgb(70, 76, 96), 1);
    }
  }

  // Lens: dark barrel ring, silver rim, blue glass with a radial gradient,
  // a white glint to the upper left.
  const double cx = 0.38, cy = 0.56;
  const double r = std::hypot(x - cx, y - cy);
  if (r < 0.29) {
    if (r >= 0.29 - 1.5 * line) {
      pixel.over(rgb(34, 38, 50), 1);
    } else if (r >= 0.215) {
      pixel.over(mix(rgb(250, 250, 255), rgb(150, 156, 178), (y - (cy - 0.29)) / 0.58), 1);
    } else if (r >= 0.215 - line) {
      pixel.over(rgb(20, 24, 40), 1);
    } else {
      const double glass = std::hypot(x - (cx - 0.05), y - (cy - 0.05)) / 0.24;
      pixel.over(mix(rgb(120, 200, 255), rgb(8, 28, 96), glass), 1);
    }
  }
  if (circle(x, y, cx - 0.075, cy - 0.075, 0.05) < 0) pixel.over(rgb(255, 255, 255, 0.9), 1);
  if (circle(x, y, cx + 0.08, cy + 0.08, 0.025) < 0) pixel.over(rgb(255, 255, 255, 0.45), 1);
}

constexpr int kSamples = 8;  // per pixel side

// One image as 32-bit BGRA rows, top row first, alpha not premultiplied.
std::vector<std::uint8_t> render(int size) {
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(size * size * 4));
  const double line = std::max(1.0 / size, 0.022);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double red = 0, green = 0, blue = 0, alpha = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          Pixel sample;
          paint_sample(sample, (px + (sx + 0.5) / kSamples) / size,
                       (py + (sy + 0.5) / kSamples) / size, line);
          red += sample.red;
          green += sample.green;
          blue += sample.blue;
          alpha += sample.alpha;
        }
      }
      constexpr double n = kSamples * kSamples;
      alpha /= n;
      const auto byte = [](double v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
      };
      const double un = alpha > 0 ? 1.0 / (alpha * n) : 0;  // undo premultiplying
      const auto at = static_cast<std::size_t>((py * size + px) * 4);
      bgra[at + 0] = byte(blue * un);
      bgra[at + 1] = byte(green * un);
      bgra[at + 2] = byte(red * un);
      bgra[at + 3] = byte(alpha);
    }
  }
  return bgra;
}

void put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

// One icon image: BITMAPINFOHEADER (height doubled for the mask), the BGRA
// rows bottom row first, then the AND mask (one bit per pixel, rows padded
// to 32 bits), all zero because the alpha channel carries the shape.
std::vector<std::uint8_t> icon_image(int size) {
  const std::vector<std::uint8_t> bgra = render(size);
  std::vector<std::uint8_t> out;
  put32(out, 40);                                    // header size
  put32(out, static_cast<std::uint32_t>(size));      // width
  put32(out, static_cast<std::uint32_t>(size * 2));  // height: colour + mask
  put16(out, 1);                                     // planes
  put16(out, 32);                                    // bits per pixel
  put32(out, 0);                                     // BI_RGB
  put32(out, static_cast<std::uint32_t>(size * size * 4));
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  for (int row = size - 1; row >= 0; --row) {
    const auto begin = bgra.begin() + row * size * 4;
    out.insert(out.end(), begin, begin + size * 4);
  }
  const int mask_row_bytes = (size + 31) / 32 * 4;
  out.insert(out.end(), static_cast<std::size_t>(mask_row_bytes * size), 0);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  constexpr std::array<int, 5> kSizes{128, 96, 64, 48, 32};

  // ICONDIR, one ICONDIRENTRY per image, then the images in the same order.
  std::vector<std::vector<std::uint8_t>> images;
  for (int size : kSizes) images.push_back(icon_image(size));
  std::vector<std::uint8_t> file;
  put16(file, 0);  // reserved
  put16(file, 1);  // type: icon
  put16(file, kSizes.size());
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * kSizes.size());
  for (std::size_t i = 0; i < kSizes.size(); ++i) {
    file.push_back(static_cast<std::uint8_t>(kSizes[i]));  // width (0 would mean 256)
    file.push_back(static_cast<std::uint8_t>(kSizes[i]));  // height
    file.push_back(0);                                     // no palette
    file.push_back(0);                                     // reserved
    put16(file, 1);                                        // planes
    put16(file, 32);                                       // bits per pixel
    put32(file, static_cast<std::uint32_t>(images[i].size()));
    put32(file, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());

  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return out ? 0 : 1;
}
