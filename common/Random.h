#pragma once

// Uniform pseudo-random numbers in [0, 1). The generator starts from the same fixed seed
// in every run, so a run can be repeated.
double rnd();
