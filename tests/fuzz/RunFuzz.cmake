# Runs one harness over its seeds and a bounded number of mutations from a fixed seed, in a
# scratch corpus emptied first so that every run starts from the committed seeds alone.
file(REMOVE_RECURSE ${SCRATCH})
file(GLOB old_artifacts ${SCRATCH}-*)
if(old_artifacts)
    file(REMOVE ${old_artifacts})
endif()
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(
    COMMAND ${HARNESS} -seed=1 -runs=${RUNS} -max_total_time=120 -artifact_prefix=${SCRATCH}-
            ${SCRATCH} ${SEEDS}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${HARNESS} failed (${result}); the input that broke it is ${SCRATCH}-crash-*")
endif()
