# Float rules shared by every target: no contraction into FMA, no fast-math, so that the
# native build and the 32-bit DLL produce the same bits.
add_library(lreverb_flags INTERFACE)
target_compile_options(lreverb_flags INTERFACE
  -Wall -Wextra -Wpedantic
  -ffp-contract=off -fno-fast-math)

if(WIN32)
  # SSE2 instead of x87 keeps float and double arithmetic identical to x86-64; a host may call
  # the exports with a stack aligned to 4 bytes only.
  target_compile_options(lreverb_flags INTERFACE -msse2 -mfpmath=sse -mstackrealign)
  # The AVX paths spill 32- and 64-byte vectors to the stack, which GCC cannot align beyond 16
  # bytes under the Windows ABI; the assembler then emits unaligned moves for all vector moves.
  target_compile_options(lreverb_flags INTERFACE -Wa,-muse-unaligned-vector-move)
  target_link_options(lreverb_flags INTERFACE -static -static-libgcc -static-libstdc++)
endif()

option(LREVERB_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(LREVERB_TSAN "Build with ThreadSanitizer" OFF)
if(LREVERB_SANITIZE)
  target_compile_options(lreverb_flags INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(lreverb_flags INTERFACE -fsanitize=address,undefined)
endif()
if(LREVERB_TSAN)
  target_compile_options(lreverb_flags INTERFACE -fsanitize=thread)
  target_link_options(lreverb_flags INTERFACE -fsanitize=thread)
endif()
