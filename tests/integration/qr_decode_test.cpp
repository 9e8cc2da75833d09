// The QR code of the address as the program draws it, painted into a picture and read back by a
// real decoder (zbarimg): a phone's camera gets the same address.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tests/support/raster.h"
#include "tests/support/temp_folder.h"
#include "web/qr_code.h"

namespace zarvo {
namespace {

// What zbarimg reads in the picture, without its line end; empty when it reads nothing.
std::string Decode(const std::string& path) {
  const std::string command = "zbarimg --raw -q '" + path + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string out;
  char buf[256];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  pclose(pipe);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

TEST(QrDecode, TheDrawnCodeReadsBackAsTheAddress) {
  testing::TempFolder folder;
  for (const char* address : {"http://192.168.1.20:8080/", "http://10.0.0.7:80/",
                              "http://192.168.178.145:49152/"}) {
    const QrGrid grid = MakeQrGrid(address);
    ASSERT_GT(grid.size, 0);
    auto list = std::make_unique<DrawList>();
    list->Clear();
    const int module = 6, margin = 10;
    ASSERT_TRUE(DrawQrCode(grid, margin, margin, module, *list));
    const int side = QrDrawingSide(grid, module) + 2 * margin;
    const testing::GreyPicture picture = testing::PaintFills(*list, side, side);
    const std::string path = folder.File("code.pgm");
    testing::WriteBytes(path.c_str(), testing::PgmBytes(picture));
    EXPECT_EQ(Decode(path), address);
  }
}

}  // namespace
}  // namespace zarvo
