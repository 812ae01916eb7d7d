// Self-test routines for the quaternion identities. Nothing in the game calls
// them; they are kept for checking the math by hand or from a test program.
// Each runs `trials` trials on fresh random inputs (drawn from the shared
// generator, so they advance it), stays silent on success and reports each
// failed trial: tests 1 to 5 on standard output, tests 6 to 9 through the
// System log. Each returns the number of failed trials. Main thread only
// (they write to the shared log and standard output).
#pragma once

int QuatTest1(int trials);  // Rotate, then the conjugate rotates back
int QuatTest2(int trials);  // q * q.Inv() and q.Inv() * q are the identity
int QuatTest3(int trials);  // q * p * q.Inv() is the pure quaternion of Rotate(p)
int QuatTest4(int trials);  // identity * vector leaves the vector
int QuatTest5(int trials);  // pure quaternion * identity leaves the vector
int QuatTest6(int trials);  // Exp, through a matrix and back keeps the angle
int QuatTest7(int trials);  // axis before and after the pass through a matrix
int QuatTest8(int trials);  // p * (matrix round trip of p).Inv() is the identity
int QuatTest9(int trials);  // matrix round trip gives back the quaternion
