// Build tool: writes the program's icon, as rendered from packaging/marvane.svg
// at a few sizes, into a C++ source file as arrays of pixels
// (shell/window_icon.h). The program builds its window icon from them without
// a search of the icon themes and without decoding an image file (which goes
// through a scan of Qt's image-format plugins).
//
//   marvane_icon_pixels OUT.cpp SQUARE.png...

#include <QImage>
#include <QString>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

bool WritePixels(std::ofstream& out, const QImage& image, int index) {
  out << "const std::uint32_t kPixels" << index << "[] = {";
  char word[16];
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      std::snprintf(word, sizeof word, "0x%08xu,", static_cast<unsigned>(row[x]));
      out << ((y * image.width() + x) % 8 == 0 ? "\n    " : " ") << word;
    }
  }
  out << "\n};\n\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUT.cpp SQUARE.png...\n", argv[0]);
    return 2;
  }
  std::vector<QImage> images;
  for (int i = 2; i < argc; ++i) {
    QImage image(QString::fromLocal8Bit(argv[i]));
    if (image.isNull() || image.width() != image.height()) {
      std::fprintf(stderr, "%s: %s is not a square image that Qt can read\n", argv[0], argv[i]);
      return 1;
    }
    images.push_back(image.convertToFormat(QImage::Format_ARGB32));
  }
  std::ofstream out(argv[1], std::ios::trunc);
  out << "// Written by marvane_icon_pixels from the rendered program icon; do not edit.\n\n"
         "#include \"shell/window_icon.h\"\n\nnamespace marvane {\n\nnamespace {\n\n";
  for (std::size_t i = 0; i < images.size(); ++i) {
    if (!WritePixels(out, images[i], static_cast<int>(i))) break;
  }
  out << "const IconPixels kIcons[] = {\n";
  for (std::size_t i = 0; i < images.size(); ++i) {
    out << "    {" << images[i].width() << ", kPixels" << i << "},\n";
  }
  out << "};\n\n}  // namespace\n\nstd::span<const IconPixels> WindowIconPixels() { return kIcons; }\n\n"
         "}  // namespace marvane\n";
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
