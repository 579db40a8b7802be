#pragma once

namespace velmar {

// Sets the line of the open terminal `fd` to `baud` bits per second, any rate the device can
// make, not only the classic table (28800 has no B-constant). 0, or the errno of the failure;
// ERANGE when the device runs the line more than 3 % away from `baud`, too far for the actuator's
// receiver.
int SetLineSpeed(int fd, int baud);

// The output rate the line of `fd` runs at, or -1 when it cannot be read.
int LineSpeed(int fd);

}  // namespace velmar
