# The release text of a build, taken from the git history of its source:
# "v<release>" for a build of the release itself, otherwise the full build
# description "v<release>-<commits since the release>-<abbreviated commit id>".
# The release is the commit tagged v<release>; until there is such a tag, the
# commit that set the release number in the top CMakeLists.txt.
#
# Run as a script:
#   cmake -DSOURCE_DIR=<source root> -DRELEASE=<4.66> -DOUTPUT=<header> -P ReleaseText.cmake
# OUTPUT is a header defining kBuildRelease; it is written only when its text
# changes, so a build without new commits compiles nothing again.

foreach(required SOURCE_DIR RELEASE OUTPUT)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "ReleaseText.cmake needs -D${required}=...")
    endif()
endforeach()

set(release_tag "v${RELEASE}")
set(release_text "${release_tag}")

# git_output(<variable> <arguments>...): the trimmed output of git in the
# source folder; empty when git fails.
function(git_output variable)
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" ${ARGN}
        OUTPUT_VARIABLE output ERROR_QUIET RESULT_VARIABLE failed
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(failed)
        set(output "")
    endif()
    set(${variable} "${output}" PARENT_SCOPE)
endfunction()

find_package(Git QUIET)
if(GIT_FOUND)
    git_output(head rev-parse --verify -q HEAD)
    git_output(base rev-parse --verify -q "refs/tags/${release_tag}^{commit}")
    if(NOT base)
        git_output(base log -n 1 --format=%H
            "-Sproject(Quorvin VERSION ${RELEASE}" HEAD -- CMakeLists.txt)
    endif()
    if(head AND base)
        git_output(count rev-list --count "${base}..${head}")
        git_output(short rev-parse --short=12 "${head}")
        if(count AND NOT count STREQUAL "0")
            set(release_text "${release_tag}-${count}-${short}")
        endif()
    else()
        message(STATUS "Release text: no git history of ${release_tag} in ${SOURCE_DIR}")
    endif()
endif()

set(content "// Made by the build from the source's git history.\n#pragma once\n\ninline constexpr char kBuildRelease[] = \"${release_text}\";\n")
set(old_content "")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" old_content)
endif()
if(NOT content STREQUAL old_content)
    # Written aside and renamed: a compiler never reads half a header.
    string(RANDOM LENGTH 8 suffix)
    file(WRITE "${OUTPUT}.${suffix}" "${content}")
    file(RENAME "${OUTPUT}.${suffix}" "${OUTPUT}")
    message(STATUS "Release text ${release_text}")
endif()
