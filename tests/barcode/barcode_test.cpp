// The encoders: text -> symbol or refusal, judged by the published tables.
#include "barcode/symbol.h"

#include <gtest/gtest.h>
