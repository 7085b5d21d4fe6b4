# One warning set for every target of ours; third-party headers come in as system includes.
add_library(tessaru_warnings INTERFACE)
target_compile_options(tessaru_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wconversion -Wno-sign-conversion -Wnull-dereference
  -Wimplicit-fallthrough -Wformat=2)
