// The order in which inputs chosen together are joined before they are decoded: the order
// of the part numbers the inputs carry, whatever order they were chosen in.
#pragma once

// Records 1 to `count` of the part table name the inputs in the order chosen. When every
// input names a part of its own (a begin line makes an input the first part, whatever its
// label says; then a frame line's designation, then the Subject's), the records' part
// numbers are set to that order; otherwise they are left as they are. The inputs read stay
// open for the join (KeepInputOpen); CloseKeptInputs closes those it leaves.
void OrderInputsByTheirParts(int count);
