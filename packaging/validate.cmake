# The desktop entry and the AppStream data pass their validators.
execute_process(COMMAND desktop-file-validate ${SOURCE}/${APP_ID}.desktop
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${rc}\n${out}")
endif()
execute_process(COMMAND appstreamcli validate --no-net ${SOURCE}/${APP_ID}.metainfo.xml
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${rc}\n${out}")
endif()
