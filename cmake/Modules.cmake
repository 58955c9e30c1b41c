# Helpers shared by the module and test folders.

# Places the compiler's runtime DLLs beside our binaries.
function(tkx_copy_runtime_dlls)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                    OUTPUT_VARIABLE stdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
                    OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                    OUTPUT_VARIABLE pthread OUTPUT_STRIP_TRAILING_WHITESPACE)
    foreach(dll ${stdcxx} ${libgcc} ${pthread})
        if(NOT EXISTS ${dll})
            message(FATAL_ERROR "runtime DLL not found: ${dll}")
        endif()
        file(COPY ${dll} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    endforeach()
endfunction()

# Gives a module its VERSIONINFO resource (Chinese, Unicode string block).
function(tkx_version_resource target file_name file_type description)
    set(TKX_FILE_NAME ${file_name})
    set(TKX_FILE_TYPE ${file_type})
    set(TKX_MODULE_NAME ${target})
    set(TKX_DESCRIPTION ${description})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()

# Builds one GoogleTest executable and registers it once with CTest.
function(tkx_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE tkx_test_support ${T_LIBS})
    set(work ${CMAKE_BINARY_DIR}/testwork/${name})
    file(MAKE_DIRECTORY ${work})
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${work})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

# Makes the build of `target` refuse a resource script whose string tables
# (in the script or any script it includes) define an id twice; the message
# names the id and both texts.
function(tkx_check_string_ids target script)
    get_filename_component(name ${script} NAME)
    set(preprocessed ${CMAKE_CURRENT_BINARY_DIR}/${name}.i)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.ids-checked)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_C_COMPILER} -E -P -dD -xc -DRC_INVOKED -I${PROJECT_SOURCE_DIR} -MD -MF ${stamp}.d
                -MT ${stamp} ${script} -o ${preprocessed}
        COMMAND ${CMAKE_COMMAND} -DSCRIPT=${name} -DINPUT=${preprocessed} -DSTAMP=${stamp}
                -P ${PROJECT_SOURCE_DIR}/cmake/CheckStringIds.cmake
        DEPENDS ${script} ${PROJECT_SOURCE_DIR}/cmake/CheckStringIds.cmake
        DEPFILE ${stamp}.d
        COMMENT "Checking the string ids of ${name}"
        VERBATIM)
    add_custom_target(${target}_string_ids DEPENDS ${stamp})
    add_dependencies(${target} ${target}_string_ids)
endfunction()
