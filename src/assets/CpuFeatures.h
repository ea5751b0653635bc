// What the processor offers for the vector pixel paths; asked once and
// cached.
#pragma once

namespace pix {

bool CpuHasSse2();
bool CpuHasAvx2();

}  // namespace pix
