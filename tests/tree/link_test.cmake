# The link test: builds the program that takes the address of every function
# and variable the public headers declare (declared_link, written by
# link_test_source.sh), then checks the planned list: no name on it may be
# defined yet, but those marked "waits", which must be.
# Run as: cmake -DBUILD_DIR=... -DLIBRARY_DIR=... -DNM=... -DPLANNED=... -P link_test.cmake
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target declared_link
                OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  string(REGEX MATCHALL "undefined reference to `[^']+'" references "${output}")
  if(NOT references)
    message(FATAL_ERROR "declared_link does not build:\n${output}")
  endif()
  list(TRANSFORM references REPLACE "undefined reference to `([^']+)'" "  \\1\n")
  list(REMOVE_DUPLICATES references)
  list(JOIN references "" names)
  message(FATAL_ERROR "Declared in a public header but defined nowhere; define them, or list "
                      "them in tests/tree/planned.txt under the work that builds them:\n${names}")
endif()

file(GLOB libraries ${LIBRARY_DIR}/*.a)
execute_process(COMMAND ${NM} -C --defined-only ${libraries}
                OUTPUT_VARIABLE symbols ERROR_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} cannot read the libraries of ${LIBRARY_DIR}")
endif()

file(STRINGS ${PLANNED} lines)
set(defined)
set(missing)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "#.*" "" line "${line}")
  string(REGEX MATCHALL "[^ \t]+" words "${line}")
  if(NOT words)
    continue()
  endif()
  list(GET words 0 name)
  string(REGEX MATCH "\n[0-9a-fA-F]+ [A-Za-z] ${name}(\\(|\n)" definition "\n${symbols}")
  if(words MATCHES ";waits$")
    if(NOT definition)
      list(APPEND missing "  ${name}\n")
    endif()
  elseif(definition)
    list(APPEND defined "  ${name}\n")
  endif()
endforeach()
if(defined OR missing)
  list(JOIN defined "" defined)
  list(JOIN missing "" missing)
  message(FATAL_ERROR "tests/tree/planned.txt is out of date.\n"
                      "Defined now (take them off the list):\n${defined}"
                      "Marked \"waits\" but not defined:\n${missing}")
endif()
message(STATUS "every declared name links but the planned ones")
