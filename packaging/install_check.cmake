# Installs into a scratch folder and builds the Debian package, then checks
# that both hold what a desktop installation needs.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

set(expected
    usr/bin/payslip
    usr/bin/payslip-cli
    usr/share/applications/${APP_ID}.desktop
    usr/share/metainfo/${APP_ID}.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
    usr/share/doc/payslip/LICENSE)
foreach(size 16 24 32 48 64 128 256)
    list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()

# cmake --install honours DESTDIR from the environment.
set(ENV{DESTDIR} ${WORK}/root)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${err}")
endif()
unset(ENV{DESTDIR})
foreach(path ${expected})
    if(NOT EXISTS ${WORK}/root/${path})
        message(FATAL_ERROR "not installed: /${path}")
    endif()
endforeach()
file(GLOB_RECURSE installed RELATIVE ${WORK}/root ${WORK}/root/*)
list(LENGTH installed count)
list(LENGTH expected wanted)
if(NOT count EQUAL wanted)
    message(FATAL_ERROR "installed ${count} files, expected ${wanted}: ${installed}")
endif()

# The installed command line runs and prints the start-up slip.
execute_process(COMMAND ${WORK}/root/usr/bin/payslip-cli --json RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\"Text21\": \"43432.12\"")
    message(FATAL_ERROR "installed payslip-cli: ${rc} ${out}")
endif()

execute_process(COMMAND cpack -G DEB -B ${WORK}/deb WORKING_DIRECTORY ${BUILD}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed: ${out}${err}")
endif()
file(GLOB debs ${WORK}/deb/*.deb)
list(LENGTH debs ndebs)
if(NOT ndebs EQUAL 1)
    message(FATAL_ERROR "expected one .deb, found: ${debs}")
endif()
execute_process(COMMAND dpkg-deb --contents ${debs} OUTPUT_VARIABLE contents RESULT_VARIABLE rc)
foreach(path ${expected})
    string(FIND "${contents}" "./${path}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${debs} lacks /${path}:\n${contents}")
    endif()
endforeach()
execute_process(COMMAND dpkg-deb --field ${debs} Depends OUTPUT_VARIABLE depends)
foreach(dep libqt6widgets6 libqt6svg6 libc6 libstdc++6 qt6-qpa-plugins)
    string(FIND "${depends}" "${dep}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package does not depend on ${dep}: ${depends}")
    endif()
endforeach()
message(STATUS "${debs}: ${count} files; Depends: ${depends}")
