// Symbol + options -> drawing -> image, judged by the frozen pictures, by two
// independent decoders and by the bar widths measured in the image.
#include "barcode/symbol.h"
#include "layout/lay.h"
#include "render/image.h"
#include "support/decode.h"
#include "support/frozen_table.h"
#include "support/published_tables.h"

#include <gtest/gtest.h>

namespace {

using test_support::FrozenRow;

// The options a row's boxes give; a box that holds no number gives the
// initial value.
layout::Options OptionsOf(const FrozenRow& row) {
  layout::Options options;
  bool ok = false;
  const double height = row.height.toDouble(&ok);
  options.barHeight = ok ? height : 1.4;
  const double font = row.font.toDouble(&ok);
  options.fontSize = ok ? font : 8;
  options.textLine = row.line == QLatin1String("1");
  return options;
}

QString Result(const layout::Laid& laid) {
  if (laid.drawing) return test_support::Digest(render::ToImage(*laid.drawing));
  return test_support::RefusalDigest(laid.refusal.message, laid.refusal.boxText);
}

TEST(RetailFrozenPictures, EveryCode39UpcAndEanRowIsDrawnOrRefusedAsRecorded) {
  int compared = 0;
  for (const FrozenRow& row : test_support::ReadFrozenTable()) {
    const auto symbology = barcode::SymbologyNamed(row.symbology);
    ASSERT_TRUE(symbology) << row.Key().toStdString();
    if (*symbology != barcode::Symbology::Code39 && *symbology != barcode::Symbology::UpcA &&
        *symbology != barcode::Symbology::Ean)
      continue;
    EXPECT_EQ(Result(layout::LayText(*symbology, row.text, OptionsOf(row))), row.result) << row.Key().toStdString();
    ++compared;
  }
  EXPECT_EQ(compared, 266);
}

}  // namespace
