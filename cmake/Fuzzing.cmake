# -DVELMORA_FUZZ=ON: the whole tree is built for libFuzzer with AddressSanitizer
# and UndefinedBehaviorSanitizer; fuzz/ adds the fuzzer executables.
if(VELMORA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VELMORA_FUZZ needs clang (e.g. -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang)")
  endif()
  set(_velmora_fuzz -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer -g)
  add_compile_options(${_velmora_fuzz})
  add_link_options(-fsanitize=address,undefined)
endif()
