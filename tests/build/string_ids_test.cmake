# The build's check of repeated string ids, on a script with a repeated id
# (in an included part, written as an expression) and on the same script
# without it.  Run by CTest on the build machine:
#   cmake -DCOMPILER=<C compiler> -DCHECK=<CheckStringIds.cmake> -DSOURCE=<this folder> -DWORK=<folder> -P ...

function(check script expect_failure expected_text)
    execute_process(COMMAND ${COMPILER} -E -P -dD -xc -DRC_INVOKED -I${SOURCE} ${script} -o ${WORK}/ids.i
                    RESULT_VARIABLE preprocessed)
    if(NOT preprocessed EQUAL 0)
        message(FATAL_ERROR "cannot preprocess ${script}")
    endif()
    file(REMOVE ${WORK}/ids.stamp)
    execute_process(COMMAND ${CMAKE_COMMAND} -DSCRIPT=test.rc -DINPUT=${WORK}/ids.i -DSTAMP=${WORK}/ids.stamp
                            -P ${CHECK}
                    RESULT_VARIABLE result ERROR_VARIABLE output)
    if(expect_failure)
        if(result EQUAL 0 OR EXISTS ${WORK}/ids.stamp)
            message(FATAL_ERROR "a repeated string id was let through")
        endif()
        string(FIND "${output}" "${expected_text}" at)
        if(at LESS 0)
            message(FATAL_ERROR "the message does not say \"${expected_text}\":\n${output}")
        endif()
    elseif(NOT result EQUAL 0 OR NOT EXISTS ${WORK}/ids.stamp)
        message(FATAL_ERROR "a script without repeated ids was refused:\n${output}")
    endif()
endfunction()

file(MAKE_DIRECTORY ${WORK})
check(${SOURCE}/repeated_ids.rc TRUE "string id ID_SECOND (7) is defined twice: \"第二\" and \"又是第二\"")
file(READ ${SOURCE}/repeated_ids.rc text)
string(REPLACE "#include \"repeated_ids_part.rc\"" "" text "${text}")
file(WRITE ${WORK}/single_ids.rc "${text}")
check(${WORK}/single_ids.rc FALSE "")
