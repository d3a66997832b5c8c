#pragma once

#include "XmModule.h"

namespace xm {

/// Checks every count, index and range of `module` against what the XM format can store;
/// throws TXmFormatError naming the first problem found.
void ValidateModule(const TModule& module);

}  // namespace xm
