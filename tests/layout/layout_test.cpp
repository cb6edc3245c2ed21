// Symbol + options -> drawing -> image: every frozen picture and refusal, the
// Code 128 B record's geometry, and the pictures read back by the decoders
// and measured in pixel runs.
#include "barcode/symbol.h"
#include "layout/code128_caption.h"
#include "layout/lay.h"
#include "render/image.h"
#include "support/decode.h"
#include "support/form_fixture.h"
#include "support/frozen_table.h"
#include "support/published_tables.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

// A frozen row's picture or refusal through the new layers.
QString Result(const test_support::FrozenRow& row) {
  const layout::Laid laid =
      layout::LayText(*barcode::SymbologyNamed(row.symbology), row.text, test_support::OptionsOf(row));
  if (!laid.drawing) return test_support::RefusalDigest(laid.refusal.message, laid.refusal.boxText);
  return test_support::Digest(render::ToImage(*laid.drawing));
}

TEST(Code128Layouts, EveryFrozenPictureAndRefusalIsAsRecorded) {
  int compared = 0;
  for (const test_support::FrozenRow& row : test_support::ReadFrozenTable()) {
    if (row.symbology != u"code128b"_s && row.symbology != u"code128-1"_s && row.symbology != u"code25"_s) continue;
    EXPECT_EQ(Result(row), row.result) << row.Key().toStdString();
    ++compared;
  }
  EXPECT_EQ(compared, 114 + 165 + 275);
}

}  // namespace
