#pragma once

#include "xm_module.h"

namespace xm {

/// Checks every count, index and range of `module` against what the XM format can store;
/// throws XmFormatError naming the first problem found.
void ValidateModule(const Module& module);

}  // namespace xm
