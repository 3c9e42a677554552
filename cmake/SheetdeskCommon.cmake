# Settings every target of the tree shares: language level, warnings, the
# Shift-JIS literal mechanism and the sanitizers of the native build.

# C++17: in C++20 <chrono> holds a "µ" literal that has no Shift-JIS form.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# Sources are UTF-8; every string literal reaches the binaries as Shift-JIS.
# GCC converts them (both the mingw-w64 and the native build use GCC). The
# clang build exists only for libFuzzer and cannot convert; the code it fuzzes
# spells its Shift-JIS constants as byte escapes, so it behaves the same there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-finput-charset=UTF-8 -fexec-charset=CP932)
endif()

add_compile_options(-Wall -Wextra -Wno-unused-parameter)
if(SHEETDESK_WERROR)
  add_compile_options(-Werror)
endif()

if(WIN32)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # Everything links statically: a test or program under Wine needs no
  # runtime DLLs beside it but our own.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(SHEETDESK_FUZZ)
  # Coverage for libFuzzer in every library the fuzz targets link.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(SHEETDESK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# All programs, DLLs and test executables land in one folder so that Wine finds
# our DLLs beside the programs that load them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)

# The Windows tests start from a program folder deep below the build, whose
# names hold 表 and ソ: a link to bin/ at a path of more than 200 bytes in
# Shift-JIS, as an installation deep in a user's folders has. Wine keeps the
# linked path as the programs' own, so what they build from it must hold.
if(WIN32)
  set(SHEETDESK_TEST_FOLDER ${CMAKE_BINARY_DIR}/deep)
  # 205 bytes exactly, wherever the clone lives: a folder deeper still would
  # leave the tests' own files (a page in a feeder below a test folder) past
  # the 260 bytes a path may have.
  string(LENGTH "Z:${SHEETDESK_TEST_FOLDER}/bin" bytes)
  while(bytes LESS 182)
    # A separator and nine characters of two bytes each.
    string(APPEND SHEETDESK_TEST_FOLDER "/表ソの深いフォルダ")
    math(EXPR bytes "${bytes} + 19")
  endwhile()
  if(bytes LESS 201)
    # The rest: a separator, 表 and ソ (two bytes each), then single bytes.
    math(EXPR fill "205 - ${bytes} - 5")
    string(REPEAT "x" ${fill} padding)
    string(APPEND SHEETDESK_TEST_FOLDER "/表ソ${padding}")
  endif()
  file(MAKE_DIRECTORY ${SHEETDESK_TEST_FOLDER} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  string(APPEND SHEETDESK_TEST_FOLDER /bin)
  file(CREATE_LINK ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} ${SHEETDESK_TEST_FOLDER} SYMBOLIC)
endif()



# Headers are included by their path from the source root ("screen/screen.h"),
# but a target reaches only the headers of what it links: each folder gets a
# header root of its own in the build tree, holding one link to the folder,
# and a library hands its root on to what links it.
# sheetdesk_header_root(out path): the header root of `path` (a folder or a
# file, relative to the source root).
function(sheetdesk_header_root out path)
  string(REPLACE "/" "+" key "${path}")
  set(root ${CMAKE_BINARY_DIR}/headers/${key})
  set(link ${root}/${path})
  set(target "")
  if(IS_SYMLINK ${link})
    file(READ_SYMLINK ${link} target)
  endif()
  if(NOT target STREQUAL "${PROJECT_SOURCE_DIR}/${path}")
    file(REMOVE ${link})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${link} SYMBOLIC)
  endif()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# The folder of the current CMakeLists.txt, relative to the source root.
function(sheetdesk_current_folder out)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(${out} ${folder} PARENT_SCOPE)
endfunction()

# sheetdesk_library(name PORTABLE files... WINDOWS files... LIBS libs...
#                   [HEADERS paths...])
# One library target per subsystem. PORTABLE sources build in both
# configurations, WINDOWS sources only in the Windows one. What links it
# reaches the headers of its folder, or only the HEADERS given (paths
# relative to its folder).
function(sheetdesk_library name)
  cmake_parse_arguments(arg "" "" "PORTABLE;WINDOWS;LIBS;WINDOWS_LIBS;HEADERS" ${ARGN})
  set(sources ${arg_PORTABLE})
  set(libs ${arg_LIBS})
  if(WIN32)
    list(APPEND sources ${arg_WINDOWS})
    list(APPEND libs ${arg_WINDOWS_LIBS})
  endif()
  sheetdesk_current_folder(folder)
  set(roots)
  if(arg_HEADERS)
    foreach(header ${arg_HEADERS})
      sheetdesk_header_root(root ${folder}/${header})
      list(APPEND roots ${root})
    endforeach()
  else()
    sheetdesk_header_root(root ${folder})
    list(APPEND roots ${root})
  endif()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${roots})
    target_link_libraries(${name} PUBLIC ${libs})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${roots})
    target_link_libraries(${name} INTERFACE ${libs})
  endif()
endfunction()

# sheetdesk_test(name SOURCES files... LIBS libs... [WINDOWS_ONLY])
# A GoogleTest program registered with CTest. Without WINDOWS_ONLY it builds
# in both configurations (natively under the sanitizers, and for Windows, run
# under Wine). Tests start in the folder of the executables (for Windows, by
# the deep link to it). WINDOWS_ONLY tests run one at a time.
function(sheetdesk_test name)
  cmake_parse_arguments(arg "WINDOWS_ONLY" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if((arg_WINDOWS_ONLY AND NOT WIN32) OR SHEETDESK_FUZZ)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main GTest::gmock)
  sheetdesk_current_folder(folder)
  sheetdesk_header_root(root ${folder})
  target_include_directories(${name} PRIVATE ${root})
  if(WIN32)
    # Wine takes the current folder from PWD when it is the same folder.
    add_test(NAME ${name}
             COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${SHEETDESK_TEST_FOLDER}/$<TARGET_FILE_NAME:${name}>
                     --gtest_brief=1
             WORKING_DIRECTORY ${SHEETDESK_TEST_FOLDER})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT PWD=${SHEETDESK_TEST_FOLDER})
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1
             WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  endif()
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${arg_TIMEOUT})
  if(arg_WINDOWS_ONLY)
    # Windows-only tests share one Wine desktop (active window, focus), the
    # PostgreSQL test database and the printer: they run one at a time.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_session)
  endif()
endfunction()

# sheetdesk_fuzzer(name SOURCES files... LIBS libs... [CORPUS dir])
# A libFuzzer target of the clang fuzz build; CTest replays its corpus and
# then fuzzes for SHEETDESK_FUZZ_SECONDS, the suite's short run. The same
# name in the environment runs one longer, on the same corpus and seeds:
#   SHEETDESK_FUZZ_SECONDS=600 ctest --test-dir build/fuzz -R '^<name>$'
set(SHEETDESK_FUZZ_SECONDS 30 CACHE STRING "Seconds each fuzz target runs in the test suite")
function(sheetdesk_fuzzer name)
  cmake_parse_arguments(arg "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT SHEETDESK_FUZZ)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS})
  sheetdesk_current_folder(folder)
  sheetdesk_header_root(root ${folder})
  target_include_directories(${name} PRIVATE ${root})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work ${CMAKE_BINARY_DIR}/fuzz-work/${name})
  set(seeds)
  if(arg_CORPUS)
    set(seeds ${arg_CORPUS})
  endif()
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -E env
                   sh -c "mkdir -p '${work}' && exec \"$0\" -max_total_time=\${SHEETDESK_FUZZ_SECONDS:-${SHEETDESK_FUZZ_SECONDS}} -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 '${work}' ${seeds}"
                   $<TARGET_FILE:${name}>)
  # A run ends itself when its time is up; the limit only catches a hang.
  set_tests_properties(${name} PROPERTIES TIMEOUT 10800)
endfunction()
