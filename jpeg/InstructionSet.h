#pragma once

namespace tessaro::jpeg {

// Whether the encoder may use its 256-bit (AVX2) code paths: the processor has them and they
// have not been switched off. Every path gives identical output.
bool wideInstructionsAvailable();

// Switches the 256-bit paths off (or back on) for the whole process, so that the baseline
// x86-64 (SSE2) paths can be measured and compared on a processor that has both.
void allowWideInstructions(bool allowed);

}  // namespace tessaro::jpeg
