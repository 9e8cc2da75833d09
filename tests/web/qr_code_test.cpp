// The QR code of the address: the library's own grid for the text, the code's fixed patterns, and
// a drawing whose pixels are exactly the grid's modules on a quiet zone.
#include "web/qr_code.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/raster.h"
#include "third_party/qrcodegen/qrcodegen.hpp"

namespace zarvo {
namespace {

constexpr char kAddress[] = "http://192.168.1.20:8080/";

// A finder pattern at (x, y): a dark 7x7 ring, a light ring, a dark 3x3 centre.
void ExpectFinder(const QrGrid& g, int x0, int y0) {
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 7; ++x) {
      const int ring = std::max(std::abs(x - 3), std::abs(y - 3));
      EXPECT_EQ(g.Dark(x0 + x, y0 + y), ring != 2) << "finder at " << x0 << "," << y0;
    }
  }
}

TEST(QrCode, TheGridIsTheLibrarysCodeOfTheText) {
  const QrGrid g = MakeQrGrid(kAddress);
  const qrcodegen::QrCode reference =
      qrcodegen::QrCode::encodeText(kAddress, qrcodegen::QrCode::Ecc::MEDIUM);
  ASSERT_EQ(g.size, reference.getSize());
  EXPECT_EQ(g.size, 4 * reference.getVersion() + 17);
  EXPECT_EQ(reference.getVersion(), 2) << "25 bytes fit version 2 at level M";
  for (int y = 0; y < g.size; ++y) {
    for (int x = 0; x < g.size; ++x) {
      ASSERT_EQ(g.Dark(x, y), reference.getModule(x, y)) << x << "," << y;
    }
  }
  ExpectFinder(g, 0, 0);
  ExpectFinder(g, g.size - 7, 0);
  ExpectFinder(g, 0, g.size - 7);
  // Timing patterns between the finders alternate, dark first.
  for (int i = 8; i < g.size - 8; ++i) {
    EXPECT_EQ(g.Dark(i, 6), i % 2 == 0);
    EXPECT_EQ(g.Dark(6, i), i % 2 == 0);
  }
  EXPECT_FALSE(g.Dark(-1, 0));
  EXPECT_FALSE(g.Dark(0, g.size));
}

TEST(QrCode, LongerAddressesTakeLargerVersionsAndTooLongTextsNone) {
  EXPECT_GT(MakeQrGrid("http://fe80::1234:5678:9abc:def0:8080/results").size,
            MakeQrGrid(kAddress).size);
  EXPECT_EQ(MakeQrGrid("").size, 0);
  EXPECT_EQ(MakeQrGrid(std::string(kMaxQrTextBytes + 1, 'a')).size, 0);
  const QrGrid longest = MakeQrGrid(std::string(kMaxQrTextBytes, 'a'));
  EXPECT_GT(longest.size, 0);
  EXPECT_EQ(longest.dark.size(), size_t(longest.size) * size_t(longest.size));
}

TEST(QrCode, TheDrawingPaintsExactlyTheDarkModulesOnAQuietZone) {
  const QrGrid g = MakeQrGrid(kAddress);
  auto list = std::make_unique<DrawList>();
  list->Clear();
  const int module = 4, left = 10, top = 20;
  ASSERT_TRUE(DrawQrCode(g, left, top, module, *list));
  const int side = QrDrawingSide(g, module);
  EXPECT_EQ(side, (g.size + 8) * module);
  // The white square first, then one rectangle per run of dark modules in a row.
  ASSERT_GT(list->count, 1);
  EXPECT_EQ(list->ops[0].fill, kWhite);
  EXPECT_EQ(list->ops[0].x1, left);
  EXPECT_EQ(list->ops[0].y2, top + side);
  int runs = 0;
  for (int y = 0; y < g.size; ++y) {
    for (int x = 0; x < g.size; ++x) runs += g.Dark(x, y) && !g.Dark(x - 1, y);
  }
  EXPECT_EQ(list->count, 1 + runs);

  const testing::GreyPicture p = testing::PaintFills(*list, left + side + 5, top + side + 5);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const int mx = x / module - kQrQuietZone, my = y / module - kQrQuietZone;
      ASSERT_EQ(p.At(left + x, top + y) == 0, g.Dark(mx, my)) << "pixel " << x << "," << y;
    }
  }
}

TEST(QrCode, NothingIsDrawnForNoCodeAndAFullListSaysSo) {
  auto list = std::make_unique<DrawList>();
  list->Clear();
  EXPECT_TRUE(DrawQrCode(QrGrid{}, 0, 0, 4, *list));
  EXPECT_TRUE(DrawQrCode(MakeQrGrid(kAddress), 0, 0, 0, *list));
  EXPECT_EQ(list->count, 0);
  // The largest code has more runs than a list holds.
  const QrGrid big = MakeQrGrid(std::string(kMaxQrTextBytes, 'x'));
  for (int i = 0; i < 3; ++i) DrawQrCode(big, 0, 0, 1, *list);
  EXPECT_FALSE(DrawQrCode(big, 0, 0, 1, *list));
  EXPECT_TRUE(list->overflowed);
}

}  // namespace
}  // namespace zarvo
