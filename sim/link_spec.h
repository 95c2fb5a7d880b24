// The library's Link value, parsed where the console can read it too
// (platform/link_spec.h): both must agree on what the settings choose.
#pragma once
#include "platform/link_spec.h"

namespace sim {
using platform::LinkSpec;
using platform::parseLinkSpec;
}  // namespace sim
