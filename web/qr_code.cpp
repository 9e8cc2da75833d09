// The QR code of the live results address, made with qrcodegen.
#include "web/qr_code.h"

#include <exception>
#include <string>

#include "third_party/qrcodegen/qrcodegen.hpp"

namespace zarvo {

QrGrid MakeQrGrid(std::string_view text) {
  QrGrid grid;
  if (text.empty() || text.size() > kMaxQrTextBytes) return grid;
  try {
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    const qrcodegen::QrCode code =
        qrcodegen::QrCode::encodeBinary(bytes, qrcodegen::QrCode::Ecc::MEDIUM);
    grid.size = code.getSize();
    grid.dark.resize(size_t(grid.size) * size_t(grid.size));
    for (int y = 0; y < grid.size; ++y) {
      for (int x = 0; x < grid.size; ++x) {
        grid.dark[size_t(y) * size_t(grid.size) + x] = code.getModule(x, y) ? 1 : 0;
      }
    }
  } catch (const std::exception&) {
    grid = QrGrid{};  // cannot happen under the size limit; no code rather than a wrong one
  }
  return grid;
}

int QrDrawingSide(const QrGrid& grid, int moduleSize) {
  if (grid.size == 0 || moduleSize < 1) return 0;
  return (grid.size + 2 * kQrQuietZone) * moduleSize;
}

bool DrawQrCode(const QrGrid& grid, int left, int top, int moduleSize, DrawList& list) {
  const int side = QrDrawingSide(grid, moduleSize);
  if (side == 0) return true;
  list.Fill(left, top, left + side, top + side, kWhite);
  const int x0 = left + kQrQuietZone * moduleSize, y0 = top + kQrQuietZone * moduleSize;
  for (int y = 0; y < grid.size; ++y) {
    for (int x = 0; x < grid.size;) {
      if (!grid.Dark(x, y)) {
        ++x;
        continue;
      }
      int end = x;
      while (grid.Dark(end, y)) ++end;
      list.Fill(x0 + x * moduleSize, y0 + y * moduleSize, x0 + end * moduleSize,
                y0 + (y + 1) * moduleSize, kBlack);
      x = end;
    }
  }
  return !list.overflowed;
}

}  // namespace zarvo
