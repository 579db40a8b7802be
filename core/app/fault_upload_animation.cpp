#include "app/fault_upload_animation.h"

namespace velmar {

bool FaultUploadAnimation::Tick() {
  position = position < 99 ? position + 20 : 99;
  ticks += 1;
  return ticks >= kTicks;
}

}  // namespace velmar
