// The print file's lock: releasing it closes the descriptor that holds it.

#include <unistd.h>

#include "model/state_run.h"

namespace coastra {

void PrintLock::release() {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace coastra
